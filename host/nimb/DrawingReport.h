#pragma once
#include <ostream>

class ZrDbDatabase;

// Prints the block tree of the drawing's model space: each block reference
// as the name of its block, nested as the blocks nest, with the block's own
// entities counted by kind.
void printBlockTree(ZrDbDatabase* db, std::ostream& out);
