#pragma once

#include <string>

class TreeNode;

// A named group of sections (sub routines, arrays, output specifications) and its tree node.
class TEDITFolder {
public:
    TEDITFolder(std::string name, std::string description)
        : Name(std::move(name)), Description(std::move(description)) {}

    TreeNode* Node = nullptr;
    std::string Name;
    std::string Description;
};
