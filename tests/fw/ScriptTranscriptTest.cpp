// The test dialog driven by scripts through the headless driver, compared line by line with
// golden transcripts. On a mismatch the actual transcript is written beside the golden one
// (NAME.actual) so the difference can be read and, when right, taken over.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "ScriptDialog.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct GoldenCase {
  const char* name;
  bool passes;  // the script runs through without a failed step
  int endCode;
};

TEST(ScriptTranscript, EachScriptGivesItsGoldenTranscript) {
  const GoldenCase cases[] = {
      {"actions", true, 1},   // every action verb and the dump forms; Enter ends with OK
      {"answers", true, 2},   // every question answered and defaulted; closed with Escape
      {"threads", true, 2},   // posts from workers in order; a posted 248 ends the loop
      {"runout", true, 2},    // the steps run out inside a nested modal dialog
      {"broken", false, 2},   // a step that cannot run fails the session and closes the dialog
  };
  for (const GoldenCase& golden : cases) {
    SCOPED_TRACE(golden.name);
    std::string base = std::string(QRVA_TEST_DATA_DIR) + "/dialog/" + golden.name;
    testsupport::ScriptRun run = testsupport::RunScriptDialog(ReadText(base + ".ui"));
    std::ostringstream actual;
    for (const std::string& line : run.transcript) actual << line << '\n';
    actual << "result: " << (run.passed ? "passed" : "failed") << ", ended " << run.endCode
           << '\n';
    std::string expected = ReadText(base + ".golden");
    if (actual.str() != expected) {
      std::ofstream(base + ".actual", std::ios::binary) << actual.str();
      ADD_FAILURE() << "the transcript differs from " << base << ".golden; the actual one is in "
                    << base << ".actual:\n"
                    << actual.str();
    }
    EXPECT_EQ(run.passed, golden.passes);
    EXPECT_EQ(run.endCode, golden.endCode);
  }
}

}  // namespace
