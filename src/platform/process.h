// Ending the process. The program ends itself with an exit code for a few unrecoverable
// conditions; −1 reaches the shell as 255.
#pragma once

namespace ce {

// Flushes the standard streams and ends the process with the code. Does not return.
[[noreturn]] void ExitProcess(int code);

}  // namespace ce
