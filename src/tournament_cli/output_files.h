// Where velkaran-tournament writes: its messages, standard output, and the documents it saves,
// each checked before any game is played.
#pragma once

#include <string>

namespace velkaran {

// "velkaran-tournament: Message" on stderr.
void Complain(const std::string &Message);

// Whether Path may take a new document: a folder, a path whose folder takes no file, and (without
// Force) a file that exists already are refused with a message. Leftovers of an earlier save of
// Path that was killed are removed.
bool CheckNewDocument(const std::string &Path, bool Force);

// Whether the document at Path, which exists, may be written over when the run goes on; leftovers
// of a killed save are removed.
bool CheckDocumentToUpdate(const std::string &Path);

// Flushes standard output; false after a message when it could not take everything written to it.
bool StdoutWritten();

}  // namespace velkaran
