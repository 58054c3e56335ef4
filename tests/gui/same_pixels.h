// Two canvases compared pixel for pixel; the first difference is named.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <sstream>

namespace velorin::test {

inline ::testing::AssertionResult SamePixels(const QImage& every, const QImage& reduced) {
    if (every.size() != reduced.size()) return ::testing::AssertionFailure() << "the sizes differ";
    for (int y = 0; y < every.height(); ++y) {
        for (int x = 0; x < every.width(); ++x) {
            if (every.pixel(x, y) != reduced.pixel(x, y)) {
                std::ostringstream text;
                text << "first difference at (" << x << ", " << y << "): every segment " << std::hex
                     << every.pixel(x, y) << ", reduced " << reduced.pixel(x, y);
                return ::testing::AssertionFailure() << text.str();
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace velorin::test
