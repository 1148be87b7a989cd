// Running commands from the command line, their prompts, their reactor notifications and the
// application context.
#include "minicad/CommandProcessor.h"

#include <optional>
#include <utility>

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

void CommandProcessor::RunToken(const std::wstring& token) {
  // "." asks for the built-in command, "_" for the English (global) name; both may be given.
  std::wstring_view name = token;
  bool builtinOnly = false;
  bool byGlobalName = false;
  while (!name.empty() && (name.front() == L'.' || name.front() == L'_')) {
    (name.front() == L'.' ? builtinOnly : byGlobalName) = true;
    name.remove_prefix(1);
  }

  std::optional<Command> command;
  if (!name.empty()) {
    if (!builtinOnly) {
      CommandStack& stack = host_.Commands();
      command = byGlobalName ? stack.FindByGlobalName(name) : stack.FindByLocalName(name);
    }
    for (const Command& builtin : builtins_) {
      if (command) break;
      if (fw::EqualsNoCase(byGlobalName ? builtin.globalName : builtin.localName, name)) {
        command = builtin;
      }
    }
  }
  if (!command) {
    host_.GetConsole().Write(fw::Format(L"Unknown command \"%s\".  Press F1 for help.\n",
                                        fw::ToUpper(token).c_str()));
    return;
  }
  lastCommand_ = token;
  Execute(*command);
}

void CommandProcessor::Execute(const Command& command) {
  Frame frame;
  frame.globalName = command.globalName;
  frame.applicationContext = command.IsSession();
  frame.document = frame.applicationContext ? nullptr : host_.Docs().Active();
  frames_.push_back(frame);

  host_.GetEditor().NotifyCommandWillStart(command.globalName);
  bool returned = CallModuleCode(host_.GetConsole(),
                                 fw::Format(L"Command \"%s\"", command.globalName.c_str()),
                                 [&] { command.run(); });
  Frame finished = frames_.back();
  frames_.pop_back();
  if (!returned && finished.outcome == CommandOutcome::kEnded) {
    finished.outcome = CommandOutcome::kFailed;
  }

  // Text queued during the command becomes readable before the reactors hear the end, so text
  // a reactor queues runs after it.
  if (frames_.empty()) host_.Docs().ReleaseHeldInput();
  host_.GetEditor().NotifyCommandOutcome(finished.outcome, finished.globalName);
  if (frames_.empty()) RunDeferredProcedures();
}

PromptAnswer CommandProcessor::Prompt(std::wstring_view prompt, TokenMode mode) {
  if (frames_.empty() || frames_.back().outcome != CommandOutcome::kEnded) return PromptAnswer{};
  CommandLineReader::Answer answer = reader_.Read(prompt, mode, ActiveQueue(), true);
  if (answer.kind == CommandLineReader::Answer::Kind::kToken) {
    return PromptAnswer{PromptAnswer::Status::kOk, std::move(answer.text)};
  }
  frames_.back().outcome = CommandOutcome::kCancelled;
  return PromptAnswer{};
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

void CommandProcessor::ExecuteInApplicationContext(void (*procedure)(void*), void* data) {
  if (procedure == nullptr) return;
  if (!IsApplicationContext()) {
    deferred_.push_back(Deferred{procedure, data});
    return;
  }
  ++applicationContextDepth_;
  CallModuleCode(host_.GetConsole(), L"Application-context procedure",
                 [&] { procedure(data); });
  --applicationContextDepth_;
}

void CommandProcessor::RunDeferredProcedures() {
  while (frames_.empty() && !deferred_.empty()) {
    Deferred next = deferred_.front();
    deferred_.pop_front();
    ExecuteInApplicationContext(next.procedure, next.data);
  }
}

void CommandProcessor::ForgetDocument(const Document* document) {
  for (Frame& frame : frames_) {
    if (frame.document == document) frame.document = nullptr;
  }
}

InputQueue* CommandProcessor::ActiveQueue() const {
  Document* active = host_.Docs().Active();
  return active == nullptr ? nullptr : &active->Input();
}

}  // namespace minicad
