// The format tests' independent readers, shared with the driver tests.
#include "platform/jet/oracles.cpp"
