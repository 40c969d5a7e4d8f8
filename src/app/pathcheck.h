#pragma once
#include <QString>

// The test the exports make on a stored export folder before they propose it.
// "Pass" for a network path (beginning with //), without looking at the disk;
// otherwise the deepest folder that ends in front of a '/' decides: "found" when it
// exists as a folder (names compared without regard to case), "" when it does not,
// when it is an ordinary file, or when the path holds fewer than two '/'.
QString CheckPathExists(const QString& path);
