// Upload figures: the real upload dialog and worker posting a 5 MB picture to
// the reference server on this machine, beside curl posting the same form to
// the same server.
#pragma once

#include <cstdio>

// Prints "upload-5MB <ms>" and "upload-5MB-curl <ms>" (medians), or a line
// saying why a figure is missing.
void RunUploadBench(std::FILE* out);
