// Taking tokens for prompts and writing the command-line dialogue.
#include "minicad/CommandLineReader.h"

#include "minicad/Console.h"
#include "minicad/LineSource.h"

namespace minicad {

CommandLineReader::CommandLineReader(Console& console) : console_(console) {}

void CommandLineReader::SetSource(LineSource* source) {
  source_ = source;
  sourceEnded_ = false;
  line_ = InputText();
}

CommandLineReader::Answer CommandLineReader::Read(std::wstring_view prompt, TokenMode mode,
                                                  InputQueue* queue, bool cancelAtEnd) {
  bool promptShown = false;
  InputText* input = nullptr;
  while (input == nullptr) {
    if (queue != nullptr) input = queue->Front();
    if (input == nullptr && !line_.Exhausted()) input = &line_;
    if (input != nullptr) break;
    if (source_ == nullptr || sourceEnded_) break;

    // A person reads the prompt before typing; a script's prompt is shown with its answer.
    bool typed = source_->IsTyped();
    if (typed && !promptShown) {
      console_.Write(prompt);
      promptShown = true;
    }
    std::optional<std::wstring> line = source_->ReadLine();
    if (!line) {
      sourceEnded_ = true;
      break;
    }
    line_ = InputText{*line + L"\n", 0, true, typed};
  }

  if (input == nullptr) {
    if (cancelAtEnd) {
      if (!promptShown) console_.Write(prompt);
      console_.Write(L"*Cancel*\n");
    } else if (promptShown) {
      console_.Write(L"\n");
    }
    return Answer{Answer::Kind::kEnd, {}};
  }

  bool shownByTerminal = input->shownByTerminal;
  input->shownByTerminal = false;
  bool echo = input->echo;
  std::wstring token = input->Take(mode);

  if (!shownByTerminal && !promptShown) console_.Write(prompt);
  if (token == kEscapeToken) {
    console_.Write(L"*Cancel*\n");
    return Answer{Answer::Kind::kEscape, {}};
  }
  if (!shownByTerminal) console_.Write(echo ? input->lastWritten + L"\n" : std::wstring(L"\n"));
  return Answer{Answer::Kind::kToken, std::move(token)};
}

}  // namespace minicad
