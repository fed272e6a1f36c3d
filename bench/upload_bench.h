// Upload figures: the real upload dialog and worker against a scripted peer
// on this machine that reads at a set rate or never answers.
#pragma once

#include <cstdio>

// Prints "upload-rate-limited <ms> ideal <ms>" (a 5 MB picture to a reader
// of 4 MB/s, beside bytes / rate), "upload-cancel-latency <ms>" (the slowest
// cancel at 10, 50 and 90 % of the body and while waiting for an answer that
// never comes) and "upload-progress-steps <n>" (the distinct positions the
// bar showed in the worst rate-limited run), or a line saying why a figure
// is missing.
void RunUploadBench(std::FILE* out);
