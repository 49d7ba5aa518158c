// Shared by the tests of the embedded-control wrappers: OLE on the test
// thread, a hidden top-level window to host controls, and the stand-in
// controls of the build tree served to this process.
#pragma once

#include <gtest/gtest.h>

#include "AxControls.h"
#include "AxStandInTest.h"
#include "afxdisp.h"

#include <string>
#include <vector>

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A top-level window of the framework that holds the controls of a test.
class CHostWnd : public CWnd
{
public:
    BOOL CreateHost(int cx = 420, int cy = 320, BOOL bVisible = FALSE)
    {
        return CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1)), "embedded controls",
                        WS_POPUP | WS_CLIPCHILDREN | (bVisible ? WS_VISIBLE : 0), 0, 0, cx, cy, NULL, NULL);
    }
};
