#pragma once

#include <functional>

// Told the index of each row or column as a long image operation reaches it,
// so the window can move its progress bar. May be empty.
using ProgressCallback = std::function<void(int index)>;
