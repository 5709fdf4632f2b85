#pragma once
// The one way the program writes a file it saves (chain files, graph points, results): nothing
// the user did not ask to replace is touched, and a failed write leaves the old file as it was.
//
// - A regular file is replaced atomically: the bytes go to a temporary file created exclusively
//   beside it (a unique name, never following a link), are flushed to the disk, take the old
//   file's permissions (a new file gets the usual 0666 less the umask), and the temporary file
//   is renamed over the target.
// - A symbolic link is followed to the file it names (even a dangling one), which is replaced as
//   above; the link stays a link.
// - A target that exists and is no regular file (a FIFO, a terminal, /dev/stdout) is written
//   directly, never replaced.
//
//   WriteFileSafely("out.csv", "chart,x,y\n") -> ""    (success)
//   WriteFileSafely("/nonexistent/out.csv", "...") -> "No such file or directory"

#include <string>
#include <string_view>

namespace wachtrix {

// Empty on success, otherwise why the write failed (the system's words).
std::string WriteFileSafely(const std::string& path, std::string_view bytes);

// Writes all of the bytes to an open file descriptor (standard output, say); empty, or why not.
std::string WriteToDescriptor(int fd, std::string_view bytes);

// The system's words for an errno value, in English as the program's other messages, whatever the
// locale: SystemErrorText(ENOSPC) -> "No space left on device".
std::string SystemErrorText(int error);

}  // namespace wachtrix
