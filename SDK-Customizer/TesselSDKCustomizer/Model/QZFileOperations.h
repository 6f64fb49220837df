#pragma once
// File steps that never leave a half-written file under a final name: new files are made
// beside their destination under a unique name, written, flushed to disk and renamed into place.
// Every step reports failure with the path and the system's reason.

#include <optional>
#include <string>

namespace customizer {

// A new empty file "<folder>/<prefix>XXXXXX" (mkstemp), readable by everyone the umask allows.
std::optional<std::string> QZMakeUniqueFile(const std::string& folder, const std::string& prefix, std::string* error);
// The file's contents on disk (fsync).
bool QZSyncFile(const std::string& path, std::string* error);
// The folder's entries on disk, so a rename into it survives a crash.
bool QZSyncFolder(const std::string& folder, std::string* error);
// Replaces the contents of `to` by those of `from` and syncs it.
bool QZCopyFileContents(const std::string& from, const std::string& to, std::string* error);
// rename(2): replaces `to` in one step.
bool QZRenameFile(const std::string& from, const std::string& to, std::string* error);
// The bytes under `path`, written beside it and renamed into place.
bool QZWriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);
// ".<name>." of "<folder>/<name>": the prefix of the files made beside it.
std::string QZHiddenPrefixFor(const std::string& path);
// "<folder>" of "<folder>/<name>", "." for a bare name.
std::string QZParentFolder(const std::string& path);

}  // namespace customizer
