#pragma once
// The program registered for a file extension, found by asking the shell about
// a real file: an existing numbered file of that extension, or a probe file
// that the lookup creates exclusively, asks about and deletes again. A file
// that existed before the call is never written, truncated or deleted.

// Content of every probe file: 70 bytes in Windows-1252 (0xF6 is the o-umlaut),
// no line end.
constexpr char PROBE_TEXT[] = "Temporaere datei damit FindExecutable(...) die ben\xF6"
                              "tigte Datei findet.";
constexpr int PROBE_TEXT_SIZE = static_cast<int>(sizeof(PROBE_TEXT)) - 1;
static_assert(PROBE_TEXT_SIZE == 70, "the probe line is 70 bytes");

// Numbered names 0 .. PROBE_NAME_LIMIT - 1 are tried in each directory.
constexpr int PROBE_NAME_LIMIT = 1000;

// Leaves in `out` (RESULT_BUFFER_SIZE bytes) the program registered for
// `extension`, searching the local directory (when given), the temporary
// directory and the host executable's directory. True when `out` holds an
// answer; on false `out` is empty. An extension shorter than 3 bytes, not
// beginning with '.', or with a space after the dot is refused at once.
bool findExecutableForExtension(const char* extension, const char* localDirectory, char* out);

// The search in one directory: `directory` is put unchanged in front of the
// number and the extension (no separator is added). Stops at the first free
// name, or at the first answer. True when `out` holds an answer. A name that
// would not fit NAME_BUFFER_SIZE ends the search without creating anything.
bool probeDirectory(const char* extension, const char* directory, char* out);

// True when anything (a file or a directory) exists under `path`.
bool fileExists(const char* path);

// Leaves in `out` the drive and directory of the host process's executable,
// with its trailing separator, the rest of the `capacity` bytes zero. False,
// with `out` empty, when the executable's path cannot be had whole or its
// directory does not fit `capacity`.
bool getHostExecutableDir(char* out, int capacity);
