#pragma once

#include "platform/Diagnostics.h"
#include "platform/Prompter.h"

namespace orvale::test {

// Takes what a document operation found (passed where it asks for its diagnostics) and shows it
// in Box once the operation has returned, as the program's window does:
//     doc.LoadFromFile(path, ShownIn(Box));
class ShownIn {
public:
    explicit ShownIn(Prompter& box) : Box(box) {}
    ~ShownIn() { Found.ShowIn(Box); }
    ShownIn(const ShownIn&) = delete;
    ShownIn& operator=(const ShownIn&) = delete;

    operator Diagnostics&() { return Found; }

private:
    Prompter& Box;
    Diagnostics Found;
};

} // namespace orvale::test
