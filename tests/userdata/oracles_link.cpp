// The format oracles of the driver tests, for the import tests' files.
#include "platform/jet/oracles.cpp"
