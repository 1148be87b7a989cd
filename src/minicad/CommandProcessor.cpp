// Running commands from the command line, their prompts, their reactor notifications and the
// application context.
#include "minicad/CommandProcessor.h"

#include <optional>
#include <utility>

#include "arx/adscodes.h"
#include "fw/Strings.h"
#include "minicad/CommandStack.h"
#include "minicad/Console.h"
#include "minicad/DocManager.h"
#include "minicad/Document.h"
#include "minicad/Editor.h"
#include "minicad/Host.h"
#include "minicad/LineSource.h"
#include "minicad/ModuleCall.h"

namespace minicad {
namespace {

constexpr std::wstring_view kCommandPrompt = L"Command: ";

}  // namespace

CommandProcessor::CommandProcessor(Host& host) : host_(host), reader_(host.GetConsole()) {}

void CommandProcessor::AddBuiltinCommand(Command command) {
  builtins_.push_back(std::move(command));
}

bool CommandProcessor::Run(LineSource& source) {
  if (running_) return false;
  running_ = true;
  reader_.SetSource(&source);
  // Each round consumes input or ends the loop (see CommandLineReader::Read), so even a repeat
  // of the last command on one empty line after another stops when the input does.
  while (!quitRequested_ && !host_.HasQuit()) {
    RunDeferredProcedures();
    CommandLineReader::Answer answer =
        reader_.Read(kCommandPrompt, TokenMode::kWord, ActiveQueue(), false);
    if (answer.kind == CommandLineReader::Answer::Kind::kEnd) break;
    if (answer.kind == CommandLineReader::Answer::Kind::kEscape) continue;
    if (answer.text.empty()) {
      // Enter at the command prompt repeats the last command.
      if (!lastCommand_.empty()) RunToken(lastCommand_);
      continue;
    }
    RunToken(answer.text);
  }
  reader_.SetSource(nullptr);
  running_ = false;
  if (quitRequested_) host_.Quit();
  return true;
}

// "." asks for the built-in command, "_" for the English (global) name; both may be given.
std::optional<Command> CommandProcessor::Resolve(std::wstring_view name) const {
  bool builtinOnly = false;
  bool byGlobalName = false;
  while (!name.empty() && (name.front() == L'.' || name.front() == L'_')) {
    (name.front() == L'.' ? builtinOnly : byGlobalName) = true;
    name.remove_prefix(1);
  }
  if (name.empty()) return std::nullopt;
  if (!builtinOnly) {
    const CommandStack& stack = host_.Commands();
    std::optional<Command> command =
        byGlobalName ? stack.FindByGlobalName(name) : stack.FindByLocalName(name);
    if (command) return command;
  }
  for (const Command& builtin : builtins_) {
    if (fw::EqualsNoCase(byGlobalName ? builtin.globalName : builtin.localName, name)) {
      return builtin;
    }
  }
  return std::nullopt;
}

void CommandProcessor::RunToken(const std::wstring& token) {
  std::optional<Command> command = Resolve(token);
  if (!command) {
    host_.GetConsole().Write(
        fw::Format(L"Unknown command \"%s\".  Press F1 for help.\n", fw::ToUpper(token).c_str()));
    return;
  }
  lastCommand_ = token;
  Execute(*command);
}

CommandOutcome CommandProcessor::Execute(const Command& command) {
  Frame frame;
  frame.globalName = command.globalName;
  frame.applicationContext = command.IsSession();
  if (!frame.applicationContext) {
    Document* enclosing = CommandDocument();
    frame.document = enclosing != nullptr ? enclosing : host_.Docs().Active();
    if (frame.document == nullptr) {
      host_.GetConsole().Write(
          fw::Format(L"Command \"%s\" needs an open drawing.\n", command.globalName.c_str()));
      return CommandOutcome::kFailed;
    }
    frame.document->Lock();
  }
  frames_.push_back(frame);
  const std::size_t depth = frames_.size() - 1;

  host_.GetEditor().NotifyCommandWillStart(command.globalName);
  bool returned =
      CallModuleCode(host_.GetConsole(), fw::Format(L"Command \"%s\"", command.globalName.c_str()),
                     [&] { command.run(); });
  if (!returned && frames_[depth].outcome == CommandOutcome::kEnded) {
    frames_[depth].outcome = CommandOutcome::kFailed;
  }

  // Text queued during the command becomes readable before the reactors hear the end, so text
  // a reactor queues runs after it. The frame stays while they hear it: the ended command's
  // document is still current and locked, so a reactor may change its drawing.
  if (depth == 0) host_.Docs().ReleaseHeldInput();
  frames_[depth].notifying = true;
  const CommandOutcome outcome = frames_[depth].outcome;
  host_.GetEditor().NotifyCommandOutcome(outcome, frames_[depth].globalName);
  Document* document = frames_[depth].document;
  frames_.pop_back();
  if (document != nullptr) document->Unlock();

  if (frames_.empty()) {
    host_.Docs().ReleaseHeldInput();
    host_.Docs().ApplyPendingActivation();
    RunDeferredProcedures();
  }
  return outcome;
}

CommandProcessor::Script* CommandProcessor::ActiveScript() {
  if (scripts_.empty() || frames_.empty() || scripts_.back().frameIndex != frames_.size() - 1) {
    return nullptr;
  }
  return &scripts_.back();
}

PromptAnswer CommandProcessor::Prompt(std::wstring_view prompt, TokenMode mode) {
  if (frames_.empty() || frames_.back().outcome != CommandOutcome::kEnded ||
      frames_.back().notifying) {
    return PromptAnswer{};
  }
  if (Script* script = ActiveScript(); script != nullptr && script->next < script->tokens.size()) {
    const ScriptedToken token = script->tokens[script->next++];
    if (!token.pause) {
      Console& console = host_.GetConsole();
      console.Write(prompt);
      if (token.text == kEscapeToken) {
        console.Write(L"*Cancel*\n");
        frames_.back().outcome = CommandOutcome::kCancelled;
        return PromptAnswer{};
      }
      console.Write(token.text + L"\n");
      return PromptAnswer{PromptAnswer::Status::kOk, token.text};
    }
  }
  CommandLineReader::Answer answer = reader_.Read(prompt, mode, ActiveQueue(), true);
  if (answer.kind == CommandLineReader::Answer::Kind::kToken) {
    return PromptAnswer{PromptAnswer::Status::kOk, std::move(answer.text)};
  }
  frames_.back().outcome = CommandOutcome::kCancelled;
  return PromptAnswer{};
}

int CommandProcessor::RunCommandTokens(std::vector<ScriptedToken> tokens) {
  if (IsApplicationContext() || tokens.empty() || tokens.front().pause) return RTERROR;
  const std::wstring name = tokens.front().text;
  host_.GetConsole().Write(std::wstring(kCommandPrompt) + name + L"\n");
  std::optional<Command> command = Resolve(name);
  if (!command) {
    host_.GetConsole().Write(
        fw::Format(L"Unknown command \"%s\".  Press F1 for help.\n", fw::ToUpper(name).c_str()));
    return RTERROR;
  }
  scripts_.push_back(Script{std::move(tokens), 1, frames_.size()});
  const CommandOutcome outcome = Execute(*command);
  scripts_.pop_back();
  switch (outcome) {
    case CommandOutcome::kEnded:
      return RTNORM;
    case CommandOutcome::kCancelled:
      return RTCAN;
    case CommandOutcome::kFailed:
      return RTERROR;
  }
  return RTERROR;
}

void CommandProcessor::FailCommand() {
  if (!frames_.empty() && frames_.back().outcome == CommandOutcome::kEnded) {
    frames_.back().outcome = CommandOutcome::kFailed;
  }
}

bool CommandProcessor::IsApplicationContext() const {
  return applicationContextDepth_ > 0 || frames_.empty() || frames_.back().applicationContext;
}

Document* CommandProcessor::CommandDocument() const {
  if (frames_.empty() || frames_.back().applicationContext) return nullptr;
  return frames_.back().document;
}

bool CommandProcessor::IsRunningIn(const Document* document) const {
  for (const Frame& frame : frames_) {
    if (frame.document == document) return true;
  }
  return false;
}

void CommandProcessor::ExecuteInApplicationContext(void (*procedure)(void*), void* data) {
  if (procedure == nullptr) return;
  if (!IsApplicationContext()) {
    deferred_.push_back(Deferred{procedure, data});
    return;
  }
  ++applicationContextDepth_;
  CallModuleCode(host_.GetConsole(), L"Application-context procedure", [&] { procedure(data); });
  --applicationContextDepth_;
}

void CommandProcessor::RunDeferredProcedures() {
  while (frames_.empty() && !deferred_.empty()) {
    Deferred next = deferred_.front();
    deferred_.pop_front();
    ExecuteInApplicationContext(next.procedure, next.data);
  }
}

void CommandProcessor::ForgetDocument(Document* document) {
  for (Frame& frame : frames_) {
    if (frame.document == document) {
      document->Unlock();
      frame.document = nullptr;
    }
  }
}

InputQueue* CommandProcessor::ActiveQueue() const {
  Document* active = host_.Docs().Active();
  return active == nullptr ? nullptr : &active->Input();
}

}  // namespace minicad
