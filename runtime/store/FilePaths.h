// Files, folders and paths shared by the client runtime and the game windows,
// and the folder bundle (a folder tree as one item stream).
//
// Paths are ANSI (code page 936 on the target systems) with "\" as separator
// and at most MAX_PATH (260) characters including the NUL. Separators are
// found character by character, so the trail byte of a double-byte character
// is never taken for a "\". Failure is a 0 result (INVALID_HANDLE_VALUE for
// file handles); nothing here shows a message.
#pragma once

#include <windows.h>

#include <cstdint>

// The running program's folder, ending with "\" (the file name cut after its
// last "\"). buffer holds MAX_PATH characters. 1 on success.
BOOL GetModuleFolder(char* buffer);
// The same for a given module.
BOOL GetModuleFolderOf(HMODULE module, char* buffer);
// Changes the current drive and folder; null means the program's folder.
BOOL SetCurrentFolder(const char* folder);

// Insert the current local two-digit year and month ("%02d%02d"), or year,
// month and day ("%02d%02d%02d"), before the first "." of the file name part
// (at the end when there is none). capacity is the size of the buffer; 0
// (and the name unchanged) when the result would not fit.
BOOL StampFileNameMonth(char* fileName, size_t capacity = MAX_PATH);
BOOL StampFileNameDay(char* fileName, size_t capacity = MAX_PATH);

// 1 when the file opens for reading.
BOOL FileCanOpen(const char* path);
// The file's size in bytes, 0 when it can't be opened.
DWORD GetFileSize(const char* path);

// Largest file ReadFileBlock reads.
const uint32_t kMaxReadFileBlock = 0x7FFFFFF0u;
// Reads count bytes from offset (count 0, or more than remains: up to the
// end) into a new malloc block of headRoom + file size + tailRoom bytes
// (tailRoom at least 1); the data starts after the head room and is followed
// by a NUL. *length gets the bytes read. Null when the file can't be opened,
// the offset is at or past the end, or nothing is read.
BYTE* ReadFileBlock(const char* path, uint32_t* length, uint32_t headRoom, uint32_t tailRoom,
                    uint32_t offset, uint32_t count);

// Moves the file to the source path with the suffix appended (append flag
// set), or with the file name's text from its first "." on replaced by the
// suffix; an existing target is replaced. 1 on success.
BOOL MoveToNewExtension(const char* source, const char* suffix, BOOL append);

// Opens an existing file for reading and writing as it is, or creates it
// empty, creating missing folders when needed. INVALID_HANDLE_VALUE on
// failure.
HANDLE CreateFileWithFolders(const char* path);

// Cuts the path at its last "\" (removed). 0 when there is none.
BOOL CutLastSlash(char* path);
// The text after the last "\" (the whole path when there is none).
const char* GetFileNamePart(const char* path);
char* GetFileNamePart(char* path);
// 1 when the path exists and is a folder.
BOOL DirectoryExists(const char* path);
// 1 when the file or folder exists; null gives 0.
BOOL PathExists(const char* path);
// Creates every missing folder level, left to right. 1 on success (also when
// everything exists already).
BOOL CreateDirectoryPath(const char* path);
// Deletes a file, or a folder with everything below it. A linked folder
// (reparse point) is unlinked, never entered. 1 on success.
BOOL DeleteTree(const char* path);
// Add or remove one final "\". AddTrailingSlash refuses (0) when the buffer
// of `capacity` bytes has no room.
BOOL AddTrailingSlash(char* path, size_t capacity = MAX_PATH);
BOOL RemoveTrailingSlash(char* path);
// Cuts the path after its last "\" or ":". 0 when there is neither.
BOOL CutAfterFolder(char* path);

// Called for each matching file; 0 ends the whole walk.
typedef BOOL (*FileVisitor)(const char* folder, const WIN32_FIND_DATAA* found, void* context);
// Visits the files of the folder that match the pattern (null: "*"), after
// walking its sub-folders first when recurse is set (names beginning with "."
// are skipped). 1 when the whole walk ran; 0 when the folder does not exist
// or the walk was stopped by the visitor.
BOOL ForEachFile(const char* folder, FileVisitor visitor, const char* pattern, void* context,
                 BOOL recurse);

// The runtime's checksum (CalcChecksum) over the whole file. 0 when the file
// can't be read.
BOOL FileChecksum(const char* path, uint32_t* value);

// Writes the file under a temporary name beside it and moves that into place,
// so a failure never leaves a truncated file where a good one was. 1 on
// success; on failure the old file is untouched. Without `replace` an
// existing file is kept and the call fails.
BOOL WriteFileReplacing(const char* path, const void* data, uint32_t length, BOOL replace = TRUE);
// The temporary name WriteFileReplacing writes first (path + ".tmp").
BOOL GetReplacingTempName(const char* path, char* buffer, size_t capacity);

// Folder bundle item tags.
enum BundleTag : BYTE { kBundleFolder = 0, kBundleFile = 1, kBundleEnd = 2 };
// Limits when a bundle is unpacked.
const int kMaxBundleDepth = 64;

// Appends the item stream of the folder tree to the growable buffer
// (*data / *used / *capacity: a C heap block, see BufferAppend1); the stream is
// not compressed here. 1 on success.
BOOL PackFolder(const char* folder, BYTE** data, uint32_t* used, uint32_t* capacity);
// Writes a plain item stream of `length` bytes under the target folder.
// Names that are empty, "." or "..", or hold "\", "/" or ":" are refused, as
// is anything that runs past the end of the stream. 1 on success.
BOOL UnpackFolderStream(const char* targetFolder, const BYTE* stream, uint32_t length);
// Uncompresses a block (BlockCompress.h) and unpacks the stream in it.
BOOL UnpackFolder(const char* targetFolder, const void* block, uint32_t length);
