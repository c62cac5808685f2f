#pragma once

// The user's guide among the help pages: short pages on the daily tasks (getting started,
// import, editing and the prompt, build and errors, export to the host, the library, the
// options), each with a keyword of its own, listed first on the contents page.

#include "frame/HelpPages.h"

#include <string>
#include <vector>

struct THelpTopic {
    std::string Keyword; // "IDH_Guide_Import"
    std::string Page;    // relative to the help folder: "guide/import.html"
    std::string Title;
};

// The guide's topics in reading order.
const std::vector<THelpTopic>& GuideTopics();
// Their pages.
std::vector<THelpPage> GuidePages();
