// The command processor: reads command names from the command line, runs the command each
// names (a module's or a built-in one), hands the tokens that follow to the running command's
// prompts, tells the editor reactors, and keeps the two contexts code runs in: a document's
// command, or the application's own context. Host main thread.
#pragma once

#include <deque>
#include <optional>
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

// One element of a token list run by acedCmdS: text answering a prompt (empty for Enter), or a
// pause, where the next answer comes from the command line's input.
struct ScriptedToken {
  std::wstring text;
  bool pause = false;
};

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

  // For the running command: shows `prompt` and takes the next token as the answer (from the
  // command's token list when acedCmdS runs it, else from the input). Escape, or input that
  // runs out, cancels the command; once cancelled or failed, every further prompt of it answers
  // kCancel without reading, and so does every prompt while reactors hear its end.
  PromptAnswer Prompt(std::wstring_view prompt, TokenMode mode);
  // acedCmdS: runs the command the first token names as a nested command of the running
  // document command, the other tokens answering its prompts. RTNORM (ended), RTCAN
  // (cancelled) or RTERROR (failed, unknown, refused, or no document command runs).
  int RunCommandTokens(std::vector<ScriptedToken> tokens);
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
  // Whether a running command (at any depth) belongs to `document`.
  bool IsRunningIn(const Document* document) const;
  // Runs at once in the application context, otherwise queues it to run when the running
  // commands have returned, before more input is read.
  void ExecuteInApplicationContext(void (*procedure)(void*), void* data);
  // A document is being closed: no running command belongs to it any more.
  void ForgetDocument(Document* document);

 private:
  struct Frame {
    std::wstring globalName;
    bool applicationContext = false;
    Document* document = nullptr;
    CommandOutcome outcome = CommandOutcome::kEnded;
    // Set while the reactors hear how the command finished.
    bool notifying = false;
  };
  // The token list of a command run by acedCmdS, for the frame at `frameIndex`.
  struct Script {
    std::vector<ScriptedToken> tokens;
    std::size_t next = 0;
    std::size_t frameIndex = 0;
  };
  struct Deferred {
    void (*procedure)(void*);
    void* data;
  };

  std::optional<Command> Resolve(std::wstring_view token) const;
  void RunToken(const std::wstring& token);
  // Runs a command (a document command only while a drawing is open) and tells the reactors;
  // the command's document is locked and current until they have heard its end.
  CommandOutcome Execute(const Command& command);
  // The token list of the innermost frame, when acedCmdS runs it.
  Script* ActiveScript();
  void RunDeferredProcedures();
  InputQueue* ActiveQueue() const;

  Host& host_;
  CommandLineReader reader_;
  std::vector<Command> builtins_;
  std::vector<Frame> frames_;
  std::deque<Deferred> deferred_;
  std::vector<Script> scripts_;
  int applicationContextDepth_ = 0;
  std::wstring lastCommand_;
  bool running_ = false;
  bool quitRequested_ = false;
};

}  // namespace minicad
