#pragma once

namespace warizan {

// Makes standard output and error carry exactly the bytes written: on Windows the C runtime would
// otherwise put a carriage return before every line feed, and the data tool's output (read by scripts and
// compared between machines) would differ from system to system. Call before anything is written.
void useExactStandardStreams();

} // namespace warizan
