#include "FakeMessages.h"

namespace {

// Linked into every test program: a message shown or a question asked while
// no FakeMessages is there fails the test.
const bool installed = [] {
    Messages::install(&UnexpectedMessages());
    return true;
}();

} // namespace
