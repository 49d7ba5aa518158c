// Class and interface identifiers of the platform's ActiveX controls and COM
// components that the program hosts: the chat control (QVChatEx.dll), the
// avatar control, the advert control (QVAdCtrl.ocx), the tool bar component
// and the web browser used for notices.
#pragma once

#include <windows.h>

// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8001}
static const CLSID CLSID_QVChatEx = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x01}};
// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8002}
static const CLSID CLSID_QVAvatar = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x02}};
// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8003}
static const CLSID CLSID_QVAdCtrl = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x03}};
// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8004}  the tool bar component
static const CLSID CLSID_QVToolBar = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x04}};
// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8005}  its main (dispatch) interface
static const IID IID_IQVToolBar = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x05}};
// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8006}  its event interface
static const IID DIID_QVToolBarEvents = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x06}};
// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8007}  the notice browser
static const CLSID CLSID_QVWebBrowser = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x07}};
// {3C7B1D40-52A8-4E61-9F0B-7A2D5C1E8008}  events of the chat, avatar and advert controls
static const IID DIID_QVControlEvents = {0x3c7b1d40, 0x52a8, 0x4e61, {0x9f, 0x0b, 0x7a, 0x2d, 0x5c, 0x1e, 0x80, 0x08}};

// Dispatch ids of the tool bar component (its main interface is a dispatch
// interface).
enum QVToolBarDispid {
    QVTOOL_PUTVALUE = 1,        // (value)
    QVTOOL_INVOKE = 2,          // (value, 0)
    QVTOOL_VALUE6 = 6,          // property, 4 bytes
    QVTOOL_MODE = 7,            // (3): the program has a main window
    QVTOOL_CONFIGURE = 8,       // (name, value): one start-up setting
    QVTOOL_START = 9,           // ()
    QVTOOL_PLACE = 10,          // (x, y, width, height): the bar itself
    QVTOOL_PLACEOBJECT = 11,    // (identifier, owner window, x, y, width, height)
    QVTOOL_SHOWOBJECT = 12,     // (identifier, flag)
    QVTOOL_SETPOSITION = 13,    // (x, y): the stored tool position
};

// Dispatch ids of the notice browser (a small part of a web browser's
// interface: the page is only recorded and its address shown).
enum QVWebBrowserDispid {
    QVWEB_NAVIGATE = 104,       // (address)
    QVWEB_LOCATIONURL = 211,    // property: the address shown
};
