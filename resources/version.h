// The one version of the program and its resource library. The program
// refuses a resource library whose version block differs from its own, so
// both version blocks are built from these values.
#pragma once

#define MARDAVEL_VERSION_MAJOR 1
#define MARDAVEL_VERSION_MINOR 0
#define MARDAVEL_VERSION_BUILD 0
#define MARDAVEL_VERSION_PATCH 1
#define MARDAVEL_VERSION_TEXT "1.0.0.1"

// The library's internal name starts with the program's and ends with "Resource".
#define MARDAVEL_INTERNAL_NAME "Mardavel"
#define MARDAVEL_RES_INTERNAL_NAME "MardavelResource"
