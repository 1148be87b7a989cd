// The command processor: reads command names from the command line, runs the command each
// names (a module's or a built-in one), hands the tokens that follow to the running command's
// prompts, tells the editor reactors, and keeps the two contexts code runs in: a document's
// command, or the application's own context. Host main thread.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "minicad/Command.h"
#include "minicad/CommandLineReader.h"
#include "minicad/Editor.h"
#include "minicad/InputText.h"

namespace minicad {

class Document;
class Host;
class LineSource;

// An answer to a prompt of the running command.
struct PromptAnswer {
  enum class Status {
    kOk,      // `text` is the answer; empty for Enter
    kCancel,  // Escape, or no input left: the command is cancelled and should return
  };
  Status status = Status::kCancel;
  std::wstring text;

  bool Ok() const { return status == Status::kOk; }
};

class CommandProcessor {
 public:
  explicit CommandProcessor(Host& host);

  // Adds one of the host's own commands, reached by its name or with the "." prefix.
  void AddBuiltinCommand(Command command);

  // Runs command lines from `source` until no input is left (strings queued on the active
  // document first, then the source's lines) or QUIT ends the session, then runs the quit
  // sequence if QUIT asked for it. False when a run is already going on.
  bool Run(LineSource& source);

  // For the running command: shows `prompt` and takes the next token as the answer. Escape, or
  // input that runs out, cancels the command; once cancelled or failed, every further prompt
  // of it answers kCancel without reading.
  PromptAnswer Prompt(std::wstring_view prompt, TokenMode mode);
  // Marks the running command as failed (an answer it cannot use); its reactors hear
  // commandFailed unless it was cancelled first.
  void FailCommand();
  // Ends the session once the running command has returned.
  void RequestQuit() { quitRequested_ = true; }

  bool IsCommandRunning() const { return !frames_.empty(); }
  // True while no document command runs: between commands, in a session command, and in a
  // procedure handed to executeInApplicationContext.
  bool IsApplicationContext() const;
  // The document the innermost running document command belongs to, or nullptr.
  Document* CommandDocument() const;
  // Runs at once in the application context, otherwise queues it to run when the running
  // commands have returned, before more input is read.
  void ExecuteInApplicationContext(void (*procedure)(void*), void* data);
  // A document is being closed: no running command belongs to it any more.
  void ForgetDocument(const Document* document);

 private:
  struct Frame {
    std::wstring globalName;
    bool applicationContext = false;
    Document* document = nullptr;
    CommandOutcome outcome = CommandOutcome::kEnded;
  };
  struct Deferred {
    void (*procedure)(void*);
    void* data;
  };

  void RunToken(const std::wstring& token);
  void Execute(const Command& command);
  void RunDeferredProcedures();
  InputQueue* ActiveQueue() const;

  Host& host_;
  CommandLineReader reader_;
  std::vector<Command> builtins_;
  std::vector<Frame> frames_;
  std::deque<Deferred> deferred_;
  int applicationContextDepth_ = 0;
  std::wstring lastCommand_;
  bool running_ = false;
  bool quitRequested_ = false;
};

}  // namespace minicad
