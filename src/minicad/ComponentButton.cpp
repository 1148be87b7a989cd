// The outside components' shared part: the picture check, the log line and the host's bars.
#include "minicad/ComponentButton.h"

#include "fw/Png.h"
#include "fw/Strings.h"
#include "fw/Trace.h"
#include "minicad/Host.h"

namespace minicad {

fw::Status CheckButtonImage(std::span<const std::uint8_t> png) {
  if (png.empty()) return fw::Status::Failure(L"the button has no picture");
  fw::PngLimits limits;
  limits.maxSide = kMaxButtonSide;
  limits.maxRgbBytes = std::size_t{3} * kMaxButtonSide * kMaxButtonSide;
  fw::Result<fw::PngImage> decoded = fw::DecodePng(png, limits);
  if (!decoded) return fw::Status::Failure(L"the button's picture: " + decoded.Message());
  return fw::Status::Success();
}

std::wstring VisibleText(std::wstring_view text) {
  std::wstring visible;
  for (wchar_t c : text) {
    switch (c) {
      case L'\n':
        visible += L"\\n";
        break;
      case L'\r':
        visible += L"\\r";
        break;
      case L'\\':
        visible += L"\\\\";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          visible += fw::Format(L"\\x%02x", static_cast<unsigned>(c));
        } else {
          visible += c;
        }
    }
  }
  return visible;
}

fw::Status AddComponentButton(std::wstring_view caller, CommandButton button) {
  LogLine(L"%s \"%s\" \"%s\" %zu bytes\n", std::wstring(caller).c_str(),
          VisibleText(button.commandText).c_str(), VisibleText(button.title).c_str(),
          button.png.size());
  Host* host = Host::Current();
  if (host == nullptr) return fw::Status::Failure(L"no host runs");
  host->Buttons().Add(std::move(button));
  return fw::Status::Success();
}

bool RemoveComponentButton(std::wstring_view caller, ButtonBar bar, std::wstring_view commandText) {
  LogLine(L"%s \"%s\"\n", std::wstring(caller).c_str(), VisibleText(commandText).c_str());
  Host* host = Host::Current();
  return host != nullptr && host->Buttons().Remove(bar, commandText);
}

}  // namespace minicad
