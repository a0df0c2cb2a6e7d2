// A bot that is a program in any language, described by a manifest NAME.bot beside the libraries.
//
// The manifest is UTF-8 text of "key = value" lines; blank lines and lines that begin with '#' are
// comments. Keys:
//   command = python3 bot.py --depth 3   the program and its arguments (required). Words are
//                                        separated by blanks; "double quotes" keep blanks inside a
//                                        word, \" and \\ stand for themselves inside them.
//   directory = engine                   the folder the program runs in (optional): relative to the
//                                        manifest's folder, which is the default.
// A program word with a '/' is taken relative to that folder; a bare word is looked up on PATH.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace velkaran {

// The file name suffix of a manifest.
inline constexpr char ManifestSuffix[] = ".bot";

struct TBotManifest {
    std::vector<std::string> Command;  // the words of the command line, the program's as written
    std::string Program;               // the program found: an absolute path to an executable file
    std::string Directory;             // the absolute folder it runs in
};

// True when FileName ends in ".bot".
bool IsManifestName(const std::string &FileName);

// Reads and checks the manifest at Path and finds its program. Nothing, with the reason in Error
// ("line 3: unknown key \"cmd\"", "the program \"python4\" is not on PATH"), when it is unusable.
std::optional<TBotManifest> ReadBotManifest(const std::string &Path, std::string &Error);

// The same for a manifest's Text (as a run pinned it) that lies at Path.
std::optional<TBotManifest> ParseBotManifest(const std::string &Text, const std::string &Path,
                                             std::string &Error);

// The files a manifest's bot is made of, as absolute paths: its program, and each argument that
// names a regular file in its folder (a script). Their content goes into the bot's fingerprint.
std::vector<std::string> ManifestFiles(const TBotManifest &Manifest);

// The largest manifest read.
inline constexpr std::size_t MaxManifestBytes = 64 * 1024;

}  // namespace velkaran
