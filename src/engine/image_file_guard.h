// Leaves an image step's file closed however the step ends: on a failure
// return, and when a file error raised by the file object is on its way out
// of the run. On success the step closes the file itself first, so that an
// error while closing is still reported.
#pragma once

#include "platform/classlib/afx.h"

namespace engine {

class ImageFileGuard {
public:
    explicit ImageFileGuard(CFile& file) : m_file(file) {}
    ImageFileGuard(const ImageFileGuard&) = delete;
    ImageFileGuard& operator=(const ImageFileGuard&) = delete;
    ~ImageFileGuard() {
        if (m_file.IsOpen())
            m_file.Abort();
    }

private:
    CFile& m_file;
};

} // namespace engine
