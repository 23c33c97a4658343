// The packer's command line, apart from the process entry point so tests can
// run it:
//   packer pack IN OUT [--checksum SUMFILE]
//   packer unpack IN OUT
//   packer info IN
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs one command (the arguments after the program name). Returns the exit
// code: 0 done, 1 failed (one line on err naming the file and the cause),
// 2 wrong usage (the usage on err). With show_progress, packing that takes
// over a second shows its percentage on one line of err.
int RunPacker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool show_progress);
