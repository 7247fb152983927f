// The function wizard's tree of the help table: categories holding leaves,
// each leaf naming a help entry by its id.
#pragma once

#include <span>
#include <string_view>

namespace ostrac::help {

struct TreeNode {
    int depth;  // 0 for a top-level node; a node's children follow it one level deeper
    std::string_view caption;
    int id;  // the help entry of a leaf; 0 for a category (-1 for the first one)
};

// Every node in display order, each parent before its children.
std::span<const TreeNode> function_tree();

}  // namespace ostrac::help
