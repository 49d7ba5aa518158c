// Varcode.dll stand-in: converts texts between code pages through UTF-16
// (MultiByteToWideChar, WideCharToMultiByte).
//
// Every output is cut to its buffer on a character boundary of the target
// code page and terminated. The results are 1 for a conversion made and 0
// for bad arguments or a text the source code page cannot read.
#include <windows.h>

#include <string.h>

#include <vector>

namespace {

// Bytes of the converted text that fit into size - 1 bytes without cutting a
// double-byte character of the code page.
int FitToBoundary(const char* text, int length, int size, UINT codePage)
{
    int fit = 0;
    while (fit < length) {
        const int step = (::IsDBCSLeadByteEx(codePage, (BYTE)text[fit]) && fit + 1 < length) ? 2 : 1;
        if (fit + step > size - 1)
            break;
        fit += step;
    }
    return fit;
}

// in (inLength bytes) from one code page into out (size bytes, terminated).
// The output length, or -1.
int Convert(const char* in, int inLength, char* out, int size, UINT from, UINT to)
{
    if (in == nullptr || out == nullptr || size <= 0 || inLength < 0)
        return -1;
    if (inLength == 0) {
        out[0] = '\0';
        return 0;
    }
    const int wideLength = ::MultiByteToWideChar(from, 0, in, inLength, nullptr, 0);
    if (wideLength <= 0)
        return -1;
    std::vector<WCHAR> wide((size_t)wideLength);
    ::MultiByteToWideChar(from, 0, in, inLength, wide.data(), wideLength);
    const int outLength = ::WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0)
        return -1;
    std::vector<char> converted((size_t)outLength);
    ::WideCharToMultiByte(to, 0, wide.data(), wideLength, converted.data(), outLength, nullptr, nullptr);
    const int fit = FitToBoundary(converted.data(), outLength, size, to);
    memcpy(out, converted.data(), (size_t)fit);
    out[fit] = '\0';
    return fit;
}

int TextLength(const char* text, int size)
{
    const void* zero = memchr(text, 0, (size_t)size);
    return zero != nullptr ? (int)((const char*)zero - text) : size;
}

}  // namespace

// The text in a field of size bytes, converted in place.
extern "C" int WINAPI TranCodePage(char* text, int size, UINT from, UINT to)
{
    if (text == nullptr || size <= 0)
        return 0;
    std::vector<char> copy(text, text + TextLength(text, size));
    return Convert(copy.data(), (int)copy.size(), text, size, from, to) >= 0;
}

// A block of length bytes (zero bytes included) into out; the bytes written.
extern "C" int WINAPI TranDatCodePage(const void* in, int length, void* out, int size, UINT from, UINT to)
{
    const int written = Convert(static_cast<const char*>(in), length, static_cast<char*>(out), size, from, to);
    return written < 0 ? 0 : written;
}

// A terminated text into out (size bytes).
extern "C" int WINAPI TranStrCodePage(char* out, const char* in, int size, UINT from, UINT to)
{
    if (in == nullptr)
        return 0;
    return Convert(in, (int)strlen(in), out, size, from, to) >= 0;
}
