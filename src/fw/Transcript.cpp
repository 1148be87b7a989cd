// Texts and paths in the headless driver's transcript.
#include "fw/Transcript.h"

#include <cstdio>
#include <cstdlib>

#include "fw/FileName.h"
#include "fw/NativePath.h"
#include "fw/Strings.h"
#include "fw/System.h"

namespace fw {
namespace {

std::string Escaped(std::wstring_view text, bool quoted) {
  std::string out;
  for (char c : ToUtf8(text)) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (quoted && (c == '"' || c == '\\')) {
      out += '\\';
      out += c;
    } else if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

// `path` relative to `folder` when it lies inside it ("." for the folder itself).
bool RelativeTo(std::wstring_view path, std::wstring folder, std::wstring& relative) {
  if (folder.empty()) return false;
  while (folder.size() > 1 && folder.back() == kPathSeparator) folder.pop_back();
  if (path == folder) {
    relative = L".";
    return true;
  }
  std::wstring prefix = folder == L"/" ? folder : folder + kPathSeparator;
  if (!path.starts_with(prefix)) return false;
  relative = std::wstring(path.substr(prefix.size()));
  return true;
}

}  // namespace

std::string TranscriptQuoted(std::wstring_view text) { return "\"" + Escaped(text, true) + "\""; }

std::string TranscriptPlain(std::wstring_view text) { return Escaped(text, false); }

std::wstring TranscriptPath(std::wstring_view path) {
  std::wstring relative;
  if (RelativeTo(path, GetCurrentFolder(), relative)) return relative;
  if (const char* home = std::getenv("HOME")) {
    if (RelativeTo(path, FromNativePath(home), relative)) {
      return relative == L"." ? L"~" : L"~/" + relative;
    }
  }
  return std::wstring(path);
}

}  // namespace fw
