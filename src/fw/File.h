// Files and the framework's file and archive exceptions: binary files on disk and growable files
// in memory, read and written through one interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fw/Result.h"

namespace fw {

// A file error, with the framework's cause codes.
class CFileException {
 public:
  enum Cause {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };
  CFileException(Cause cause, std::wstring fileName, std::wstring detail = {});
  Cause cause() const { return cause_; }
  const std::wstring& fileName() const { return fileName_; }
  // The framework's text for the cause, with the file name, for the standard error report.
  std::wstring Message() const;
  // The framework's standard error report: a message box with Message().
  void ReportError() const;

 private:
  Cause cause_;
  std::wstring fileName_;
  std::wstring detail_;
};

// An archive error, with the framework's cause codes.
class CArchiveException {
 public:
  enum Cause {
    none = 0,
    genericException = 1,
    readOnly = 2,
    endOfFile = 3,
    writeOnly = 4,
    badIndex = 5,
    badClass = 6,
    badSchema = 7,
  };
  explicit CArchiveException(Cause cause, std::wstring detail = {});
  Cause cause() const { return cause_; }
  // What went wrong, naming the field and the numbers where the reader knows them.
  const std::wstring& detail() const { return detail_; }
  std::wstring Message() const;
  // The framework's standard error report: a message box with Message().
  void ReportError() const;

 private:
  Cause cause_;
  std::wstring detail_;
};

// A byte stream with a position. Errors throw CFileException.
class CFile {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    modeCreate = 0x1000,  // create, or truncate an existing file
    // With modeCreate: the file must not exist yet, so nothing is truncated and no link is
    // followed (a temporary that only this call may own).
    modeCreateNew = 0x100000,
    typeBinary = 0x8000,
  };

  CFile() = default;
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // False (and `error` filled when given) when the file cannot be opened or is no regular file
  // (a folder, FIFO, socket or device: accessDenied). Never blocks on such a file.
  bool Open(std::wstring_view path, unsigned flags, CFileException* error = nullptr);
  virtual void Close();
  virtual bool IsOpen() const { return descriptor_ >= 0; }
  const std::wstring& GetFilePath() const { return path_; }

  // Reads up to `count` bytes; returns how many were read (0 at the end).
  virtual std::size_t Read(void* buffer, std::size_t count);
  virtual void Write(const void* buffer, std::size_t count);
  virtual std::uint64_t GetLength() const;
  virtual std::uint64_t GetPosition() const;
  // Moves to `position` bytes from the start; returns the new position. A file on disk may be
  // moved beyond its end (a read there gives nothing); a memory file stops at its end.
  virtual std::uint64_t SeekTo(std::uint64_t position);
  virtual void Flush();

 private:
  int descriptor_ = -1;
  std::wstring path_;
};

// A file in memory that grows in steps of `growBytes`.
class CMemFile : public CFile {
 public:
  explicit CMemFile(std::size_t growBytes = 1024);
  // Reads the given bytes (copied).
  explicit CMemFile(std::span<const std::uint8_t> bytes);
  // Reads the given bytes, taken over without a copy.
  explicit CMemFile(std::vector<std::uint8_t>&& bytes);

  void Close() override {}
  bool IsOpen() const override { return true; }
  std::size_t Read(void* buffer, std::size_t count) override;
  void Write(const void* buffer, std::size_t count) override;
  std::uint64_t GetLength() const override { return bytes_.size(); }
  std::uint64_t GetPosition() const override { return position_; }
  std::uint64_t SeekTo(std::uint64_t position) override;
  void Flush() override {}

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t> Detach();

 private:
  std::size_t growBytes_;
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// A file written under a temporary name beside `path` and put in its place only by Commit, so a
// reader of `path` sees its old contents or all of the new ones, never a part, and a writer that
// fails or gives up leaves `path` as it was. Abandoned (the temporary deleted) unless committed.
class CReplacingFile {
 public:
  CReplacingFile() = default;
  ~CReplacingFile();
  CReplacingFile(const CReplacingFile&) = delete;
  CReplacingFile& operator=(const CReplacingFile&) = delete;

  // Creates the temporary. False with `error` set when it cannot be made or when `path` names
  // something other than a regular file (a folder, FIFO, socket or device: accessDenied).
  bool Open(std::wstring_view path, CFileException* error = nullptr);
  bool IsOpen() const { return file_.IsOpen(); }
  // The temporary, to write to; throws CFileException as CFile does.
  CFile& File() { return file_; }
  // Closes the temporary and renames it over the path; on failure the temporary is removed
  // and the message names the file and the cause.
  Status Commit();
  // Closes and deletes the temporary; the path is as it was.
  void Abandon();

 private:
  CFile file_;
  std::wstring path_;
  std::wstring temporary_;
};

// Writes `bytes` to a new temporary file beside `path` and renames it over `path`, so that a
// reader of `path` (a file manager waiting for a thumbnail) sees its old contents or all of the
// new ones, never a part. On failure the temporary is removed and `path` is as it was; the
// message names the file and the cause.
Status WriteFileReplacing(std::wstring_view path, std::span<const std::uint8_t> bytes);

}  // namespace fw
