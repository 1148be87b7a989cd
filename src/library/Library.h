// The process-wide library: the ordered list of directories.
#pragma once

namespace library {

// Empties the library at shut-down: each directory is taken off the head of the list in turn,
// its image cache written when dirty, its images reset and the directory destroyed.
void EmptyLibrary();

}  // namespace library
