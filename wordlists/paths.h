#pragma once

#include <QString>

// Where the program finds its own files. Every file the program reads is
// named by a relative path in Windows form ("\data\nouns-ect.quillmere") that
// is appended, as plain text, to the directory of the executable.

// The directory of the running executable, symlinks resolved, without a
// trailing separator (except for the root directory itself).
QString ExecutableDir();

// Tests run from the build tree with data folders of their own making; this
// lets them point the program elsewhere. An empty text restores the real
// directory.
void SetExecutableDirForTesting(const QString& dir);

// Reads the lists of "\data\..." from `folder` instead of the data folder
// beside the program: quillmere-batch --data. An empty text restores it.
void SetDataFolder(const QString& folder);

// The executable's directory followed directly by `relativePath`, with no
// separator added or removed, in the platform's native form.
QString FullPath(const QString& relativePath);

// The one place where a path written with backslashes becomes native.
QString NativePath(const QString& backslashPath);
