// The cache files: the main cache (every directory and block, no images) and each directory's
// image cache, their names, the "Use Compression" option, and moving them to a new place.
//
// Every failure is handled here as the user expects to see it: the framework's error report,
// then a message box or a command-line line, a run-log line, and the damaged file deleted. No
// file or archive exception leaves these functions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {
struct CFileStatus;
}

namespace library {

class Directory;
class Library;

// "Use Compression": on when the process starts, never stored. Any thread.
bool UseCompression();
void SetUseCompression(bool on);

inline constexpr std::size_t kColumnCount = 6;
using ColumnWidths = std::array<std::int32_t, kColumnCount>;

// "%s%spath%d_35.cache" from the drive and folder of the main cache path and n.
std::wstring ImageCacheName(std::wstring_view mainCachePath, int number);
// Whether the file name has the image cache form "path<digits>_35.cache" (any folder): the only
// files the image cache code writes, moves or deletes, and the only names a main cache may give.
bool IsImageCacheName(const std::wstring& path);
// The image cache name for a directory about to join the library: the smallest free number.
std::wstring NewImageCacheName(const Library& library, std::wstring_view mainCachePath);

// What writing the main cache takes from the settings.
struct MainCacheSave {
  std::wstring cachePath;
  // Its modification time, read now, goes into the cache for the up-to-date test.
  std::wstring iniPath;
  ColumnWidths columnWidths{};
};

// Writes the main cache (host main thread, at unload, after the loader stopped). A file error
// shows the framework's report and the "could not be written" message box naming the path; an
// archive error shows only the report. True when the file was written completely.
bool WriteMainCache(const Library& library, const MainCacheSave& save);

struct MainCacheLoad {
  std::wstring cachePath;
  // Off: each directory's image cache is read right after its record.
  bool demandLoadCache = false;
};

struct MainCacheContent {
  // The file was opened and read completely, and its directories joined the library.
  bool read = false;
  // Valid only when `read`.
  std::int64_t iniModified = 0;
  ColumnWidths columnWidths{};
};

// Reads the main cache into `library` (dialog or host main thread, while the library is empty
// and no loader runs). A missing file leaves everything as it is. A damaged one shows the error
// report, a message box or a command-line line, logs the cause, is deleted, and adds nothing to
// the library: the directories are read aside and joined to the library only when the whole
// file was read. A directory whose image cache name lacks the image cache form makes the file
// damaged, so no file it names is ever written, moved or deleted. Logs "Open the cachefile" and
// the other steps itself.
MainCacheContent ReadMainCache(Library& library, const MainCacheLoad& load);

// The library read from the cache is complete: the cache was read, and the settings file's
// status taken at the start of the load (nullptr when it could not be read) shows a file that
// is not read-only, has a creation time, and was modified when the cache says.
bool IsMainCacheCurrent(const MainCacheContent& content, const fw::CFileStatus* iniStatusAtLoad);

// Writes the directory's image cache (the large list when `useLargeImages`, then the small
// one) and clears `imagesDirty` on success. An error shows the framework's report and the
// "could not be written" message box naming the file. Lists that lack an image some block
// refers to were never read from the cache (a rescan changed the blocks while the images
// stayed on disk): they are not written, so the file keeps its previews, and false is returned
// with nothing shown. The loader thread for the directory it works on, or the dialog thread.
bool WriteImageCache(Directory& directory);

// Reads the directory's image cache into its lists, which stay the same objects: a list control
// showing them sees the new images, no detaching needed. When the file opens, the present
// images are released first; when it then proves damaged, it is reported, deleted (only if its
// name has the image cache form, so a damaged main cache cannot make us delete another file)
// and the lists hold the placeholder. A list of other image sizes, or with room for more than
// Directory::kMaxImages, and a stream above what such lists take, are damage found before
// their bits are read. Afterwards, blocks whose image is not in the lists show the placeholder
// and are marked to be probed again. `imagesLoaded` is set in every case. True when the lists
// came from the file.
bool ReadImageCache(Directory& directory);

// Takes the directory's previews out of memory: writes its image cache when `imagesDirty`,
// then resets its images (Directory::ResetImages). When the cache is not written (an error the
// user was shown, or lists that were never read), the images stay, so nothing is lost; false
// then. The thread that may write the directory's image cache (see WriteImageCache), with the
// loader off the directory.
bool ReleaseImages(Directory& directory);

// For the option OnlyCacheCurrent being turned on: ReleaseImages for every directory other
// than the library's current one whose images are loaded. Also what switching directories
// does to the directory left, through ReleaseImages. Dialog thread, with the loader stopped or
// paused off those directories; holds the library lock while it walks.
void ReleaseImagesExceptCurrent(Library& library);

// For the option DelCacheMemoryOnClose when the dialog closes: ReleaseImages for every
// directory. The dialog's closing work, after the loader has stopped; holds the library lock
// while it walks.
void ReleaseAllImages(Library& library);

// Moves the image caches and the main cache to go with a new main cache path: directory n (in
// library order, from 1) gets the image cache name for n beside the new path, and the main
// cache moves to the new path. Before anything moves, every target is checked: when one exists
// and is not itself one of the files being moved, nothing changes and a message box names the
// file; the caller keeps the old path (returns false). Moves of files that are missing fail
// silently, the names change all the same. Dialog thread, loader stopped.
bool RelocateCaches(Library& library, std::wstring_view oldMainCachePath,
                    std::wstring_view newMainCachePath);

}  // namespace library
