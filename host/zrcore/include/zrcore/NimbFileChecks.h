#pragma once
// What the host checks of a file it hands to an import, before and after
// the call, as a CAD host does: the plug-in shows no messages and its return
// codes do not say whether anything came in.
//
//   before: nimbWhyNotImportable; the host then says
//           "cannot open FILE: <reason>" (nimbCannotOpen) and does not call
//           the plug-in with that file;
//   after:  an import that added nothing to the drawing's model space gets
//           "nothing imported from FILE" (nimbNothingImported).
// What a partial import left out is nimb verify's to tell.
#include <cstddef>
#include <string>
#include <vector>

class ZrDbDatabase;

// The extensions of the files the host's import actions take, with their
// dot, in lower case: STEP (action 7) and IGES (action 8).
const std::vector<std::string>& nimbImportExtensions();

// Why the host cannot hand path (UTF-8) to an import, or "" when it can:
//   "no such file", "it is a folder", "permission denied",
//   "no command handles .txt files", "no command handles files without an extension"
// (and the system's words for rarer reasons).
std::string nimbWhyNotImportable(const std::string& path);

// The messages, without the program's name in front.
std::string nimbCannotOpen(const std::string& path, const std::string& reason);
std::string nimbNothingImported(const std::string& path);

// Entities in db's model space (what the imports append to); 0 without one.
std::size_t nimbModelSpaceSize(ZrDbDatabase* db);
