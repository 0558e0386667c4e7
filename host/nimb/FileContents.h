#pragma once
// nimb contents: what the host's own kernel reads from a file, in one line,
// for telling why an import brought nothing (scripts/run-corpus.sh asks it
// of every file that did).
#include <string>

// One statement of what the file holds, without its name in front:
//   "it holds 2 solids, 14 faces, 40 edges, 30 vertices"
//   "it holds 1 edge, none with vertices"
//   "it holds no geometry: 1 assembly without parts"
//   "it holds no shape"
//   "the kernel cannot read it"
//   "the kernel reads it but transfers nothing"
//   "the kernel fails on it: <failure>"
std::string describeFileContents(const std::string& path);
