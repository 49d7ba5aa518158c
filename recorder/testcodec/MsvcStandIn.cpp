#include "MsvcStandIn.h"

#include <windows.h>
#include <vfw.h>

#include <cstring>

#include "Msvc1Encoder.h"

namespace {

const DWORD kMsvc = mmioFOURCC('M', 'S', 'V', 'C');
const DWORD kCram = mmioFOURCC('C', 'R', 'A', 'M');

bool InputAccepted(const BITMAPINFOHEADER* in)
{
    return in && in->biCompression == BI_RGB && in->biBitCount == 16 && in->biWidth >= 4 && in->biHeight >= 4;
}

bool OutputAccepted(const BITMAPINFOHEADER* in, const BITMAPINFOHEADER* out)
{
    if (!out)
        return true;
    return (out->biCompression == kCram || out->biCompression == kMsvc) && out->biBitCount == 16 &&
           out->biWidth == in->biWidth && out->biHeight == in->biHeight;
}

LRESULT Compress(ICCOMPRESS* c)
{
    const BITMAPINFOHEADER* in = c->lpbiInput;
    BITMAPINFOHEADER* out = c->lpbiOutput;
    if (!InputAccepted(in) || !out || !c->lpInput || !c->lpOutput)
        return ICERR_BADFORMAT;
    const size_t stride = size_t((in->biWidth * 16 + 31) / 32 * 4);
    const size_t limit = vidrelle::Msvc1MaxSize(in->biWidth, in->biHeight);
    const size_t n = vidrelle::Msvc1EncodeRgb555(static_cast<const uint8_t*>(c->lpInput), in->biWidth,
                                                 in->biHeight, stride, static_cast<uint8_t*>(c->lpOutput), limit);
    if (n == 0)
        return ICERR_ERROR;
    out->biSizeImage = DWORD(n);
    if (c->lpdwFlags)
        *c->lpdwFlags = AVIIF_KEYFRAME;
    if (c->lpckid)
        *c->lpckid = 0;
    return ICERR_OK;
}

LRESULT CALLBACK DriverProc(DWORD_PTR, HDRVR, UINT message, LPARAM p1, LPARAM p2)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_CLOSE:
        return 1;
    case DRV_OPEN: {
        const ICOPEN* open = reinterpret_cast<const ICOPEN*>(p2);
        if (open && open->fccType != ICTYPE_VIDEO)
            return 0;
        if (open && (open->dwFlags & ICMODE_DECOMPRESS) && !(open->dwFlags & ICMODE_COMPRESS))
            return 0;   // an encoder only
        return 1;
    }
    case ICM_GETINFO: {
        auto* info = reinterpret_cast<ICINFO*>(p1);
        if (!info || DWORD(p2) < sizeof(ICINFO))
            return 0;
        memset(info, 0, sizeof(ICINFO));
        info->dwSize = sizeof(ICINFO);
        info->fccType = ICTYPE_VIDEO;
        info->fccHandler = kMsvc;
        info->dwFlags = VIDCF_QUALITY;
        info->dwVersion = 1;
        info->dwVersionICM = ICVERSION;
        lstrcpyW(info->szName, L"MSVC");
        lstrcpyW(info->szDescription, L"Microsoft Video 1 (encoder)");
        return sizeof(ICINFO);
    }
    case ICM_GETDEFAULTQUALITY:
        if (p1)
            *reinterpret_cast<DWORD*>(p1) = 7500;
        return ICERR_OK;
    case ICM_GETSTATE:
    case ICM_SETSTATE:
        return 0;
    case ICM_COMPRESS_QUERY: {
        const auto* in = reinterpret_cast<const BITMAPINFOHEADER*>(p1);
        const auto* out = reinterpret_cast<const BITMAPINFOHEADER*>(p2);
        return InputAccepted(in) && OutputAccepted(in, out) ? ICERR_OK : ICERR_BADFORMAT;
    }
    case ICM_COMPRESS_GET_FORMAT: {
        const auto* in = reinterpret_cast<const BITMAPINFOHEADER*>(p1);
        auto* out = reinterpret_cast<BITMAPINFOHEADER*>(p2);
        if (!InputAccepted(in))
            return ICERR_BADFORMAT;
        if (!out)
            return sizeof(BITMAPINFOHEADER);
        *out = *in;
        out->biSize = sizeof(BITMAPINFOHEADER);
        out->biCompression = kCram;
        out->biClrUsed = 0;
        out->biSizeImage = DWORD(vidrelle::Msvc1MaxSize(in->biWidth, in->biHeight));
        return ICERR_OK;
    }
    case ICM_COMPRESS_GET_SIZE: {
        const auto* in = reinterpret_cast<const BITMAPINFOHEADER*>(p1);
        return InputAccepted(in) ? LRESULT(vidrelle::Msvc1MaxSize(in->biWidth, in->biHeight)) : 0;
    }
    case ICM_COMPRESS_BEGIN: {
        const auto* in = reinterpret_cast<const BITMAPINFOHEADER*>(p1);
        const auto* out = reinterpret_cast<const BITMAPINFOHEADER*>(p2);
        return InputAccepted(in) && OutputAccepted(in, out) ? ICERR_OK : ICERR_BADFORMAT;
    }
    case ICM_COMPRESS_END:
    case ICM_COMPRESS_FRAMES_INFO:
        return ICERR_OK;
    case ICM_COMPRESS:
        return Compress(reinterpret_cast<ICCOMPRESS*>(p1));
    default:
        return message >= DRV_USER ? ICERR_UNSUPPORTED : DefDriverProc(0, nullptr, message, p1, p2);
    }
}

}  // namespace

LRESULT CALLBACK MsvcStandInDriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM p1, LPARAM p2)
{
    return DriverProc(id, driver, message, p1, p2);
}

bool InstallMsvcStandIn()
{
    return ICInstall(ICTYPE_VIDEO, kMsvc, reinterpret_cast<LPARAM>(&DriverProc), nullptr, ICINSTALL_FUNCTION) != 0;
}

void RemoveMsvcStandIn()
{
    ICRemove(ICTYPE_VIDEO, kMsvc, 0);
}
