#include "CaptureRecorder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

using vidrelle::CaptureRect;
using vidrelle::DibColourEntries;
using vidrelle::DibStride;
using vidrelle::DibTotalSize;
using vidrelle::FrameClock;

namespace {

HANDLE CreateSystemThread(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* threadId)
{
    return CreateThread(nullptr, 0, proc, arg, 0, threadId);
}

const RecorderPlatform kSystemPlatform = {
    CreateSystemThread, waveInGetDevCapsA, waveInOpen,  waveInPrepareHeader, waveInUnprepareHeader,
    waveInAddBuffer,    waveInStart,       waveInStop,  waveInReset,         waveInClose,
    acmMetrics,         acmFormatSuggest,
};

constexpr int kTempNameTries = 49;

void CopyPath(char* dest, const char* src)
{
    dest[0] = 0;
    if (src)
        lstrcpynA(dest, src, MAX_PATH);   // at most 259 characters and the terminator
}

bool IsFolder(const char* path)
{
    const DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// True when `path` can be created for exclusive writing; the test file is
// removed again.
bool NameIsFree(const char* path)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    DeleteFileA(path);
    return true;
}

int NextRandom()
{
    static LONG seeded = 0;
    if (InterlockedExchange(&seeded, 1) == 0)
        srand(unsigned(time(nullptr)));
    return rand();
}

void MakeTempName(const char* folder, const char* fixedName, const char* numberedName, const char* lastResort,
                  char* out)
{
    char path[MAX_PATH];
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        if (attempt == 0)
            snprintf(path, sizeof path, "%s%s", folder, fixedName);
        else {
            char name[32];
            snprintf(name, sizeof name, numberedName, NextRandom());
            snprintf(path, sizeof path, "%s%s", folder, name);
        }
        if (NameIsFree(path)) {
            CopyPath(out, path);
            return;
        }
    }
    CopyPath(out, lastResort);
}

}  // namespace

const RecorderPlatform& SystemRecorderPlatform()
{
    return kSystemPlatform;
}

// ---- Object and exports ---------------------------------------------------------------------

CaptureRecorder::CaptureRecorder(const RecorderPlatform& platform)
    : m_codec(mmioFOURCC('M', 'S', 'V', 'C')), m_platform(platform)
{
    InitializeCriticalSection(&m_lock);
    InitializeCriticalSection(&m_soundLock);

    HDC screen = GetDC(nullptr);
    if (screen) {
        m_screenWidth = GetDeviceCaps(screen, HORZRES);
        m_screenHeight = GetDeviceCaps(screen, VERTRES);
        m_bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
        ReleaseDC(nullptr, screen);
    }

    // Temporary folder: the Windows folder's "temp", else the host's folder.
    char windows[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
    char temp[MAX_PATH] = {};
    if (n > 0 && n < MAX_PATH)
        snprintf(temp, sizeof temp, "%s\\temp", windows);
    if (temp[0] && IsFolder(temp)) {
        CopyPath(m_tempFolder, temp);
    } else {
        char exe[MAX_PATH] = {};
        const DWORD len = GetModuleFileNameA(nullptr, exe, MAX_PATH);
        if (len > 0 && len < MAX_PATH) {
            if (char* slash = strrchr(exe, '\\'))
                *slash = 0;
            CopyPath(m_tempFolder, exe);
        }
    }

    m_soundFormat.wFormatTag = WAVE_FORMAT_PCM;   // 22.05 kHz 16-bit stereo
    m_soundFormat.nChannels = 2;
    m_soundFormat.nSamplesPerSec = 22050;
    m_soundFormat.nAvgBytesPerSec = 88200;
    m_soundFormat.nBlockAlign = 4;
    m_soundFormat.wBitsPerSample = 16;
    // A private copy of the arrow, so the destructor may destroy it.
    m_cursor = static_cast<HCURSOR>(LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    m_soundWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_soundDrained = CreateEventA(nullptr, TRUE, TRUE, nullptr);
}

CaptureRecorder::~CaptureRecorder()
{
    // In the library the capture thread holds a reference to the module and
    // drops it only after its last use of the object, so when the object is
    // destroyed at unload the thread is done with it. Waiting for the thread
    // there would deadlock: unloading holds the loader lock, and a thread needs
    // it to exit. An object of a host's own waits here for its thread.
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&RecordThreadProc), &self);
    const bool inLibrary = self && self != GetModuleHandleA(nullptr);
    if (m_thread && !inLibrary && GetThreadId(m_thread) != GetCurrentThreadId())
        WaitForCaptureThread(INFINITE);
    if (m_thread)
        CloseHandle(m_thread);
    delete m_waveWriter;
    if (m_compressedMem) {
        GlobalUnlock(m_compressedMem);
        GlobalFree(m_compressedMem);
    }
    if (m_cursor)
        DestroyCursor(m_cursor);
    if (m_soundWake)
        CloseHandle(m_soundWake);
    if (m_soundDrained)
        CloseHandle(m_soundDrained);
    DeleteCriticalSection(&m_soundLock);
    DeleteCriticalSection(&m_lock);
}

void CaptureRecorder::SetScreenForTest(int width, int height, int bitsPerPixel)
{
    m_screenWidth = width;
    m_screenHeight = height;
    m_bitsPerPixel = bitsPerPixel;
}

int CaptureRecorder::StartRecord(int left, int top, int right, int bottom, int drawCursor, int withSound,
                                 const char* path, RecordCallback callback, void* user)
{
    EnterCriticalSection(&m_lock);
    m_callback = callback;
    m_user = user;
    // A previous capture thread may still be closing its file after a stop.
    const bool busy = m_state == kStateRecording || !m_threadFinished;
    LeaveCriticalSection(&m_lock);
    if (busy) {
        Notify(kRecordAlreadyRecording);
        return 0;
    }

    CaptureRect r = {left, top, right, bottom};
    if (!vidrelle::ClampCaptureRect(r, m_screenWidth, m_screenHeight)) {
        Notify(kRecordEmptyRect);
        return 0;
    }
    m_left = r.left;
    m_top = r.top;
    m_right = r.right;
    m_bottom = r.bottom;
    m_withSound = withSound;
    m_drawCursor = drawCursor;
    CopyPath(m_outputPath, path);
    m_tempVideoPath[0] = 0;
    m_tempSoundPath[0] = 0;
    m_pause = 0;

    // The thread keeps the module loaded until it has finished.
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&RecordThreadProc), &module);
    m_threadModule = module;

    EnterCriticalSection(&m_lock);
    if (m_thread) {
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    // The thread must find the state at 1 from its first test on.
    m_state = kStateRecording;
    m_threadFinished = 0;
    DWORD id = 0;
    HANDLE thread = m_platform.createThread(RecordThreadProc, this, &id);
    if (!thread) {
        m_state = kStateIdle;
        m_threadFinished = 1;
        m_threadModule = nullptr;
    }
    m_thread = thread;
    LeaveCriticalSection(&m_lock);
    if (!thread) {
        if (module)
            FreeLibrary(module);
        Notify(kRecordNoThread);
        return 0;
    }
    return 1;
}

int CaptureRecorder::PauseRecord(int pause)
{
    m_pause = pause;
    return pause;
}

int CaptureRecorder::StopRecord(int state)
{
    if (state == kStateIdle || state == kStateRecording || state == kStateSilentStop)
        m_state = state;
    return state;
}

void CaptureRecorder::Notify(int code)
{
    EnterCriticalSection(&m_lock);
    const RecordCallback callback = m_callback;
    void* const user = m_user;
    LeaveCriticalSection(&m_lock);
    if (m_state == kStateSilentStop)
        return;
    if (callback)
        callback(user, code);
}

bool CaptureRecorder::WaitForCaptureThread(DWORD timeoutMs)
{
    EnterCriticalSection(&m_lock);
    HANDLE thread = nullptr;
    if (m_thread)
        DuplicateHandle(GetCurrentProcess(), m_thread, GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE, 0);
    LeaveCriticalSection(&m_lock);
    if (!thread)
        return true;
    const bool ended = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

// ---- Capture thread ---------------------------------------------------------------------------

DWORD WINAPI CaptureRecorder::RecordThreadProc(void* arg)
{
    auto* recorder = static_cast<CaptureRecorder*>(arg);
    HMODULE module = recorder ? recorder->m_threadModule : nullptr;
    if (recorder)
        recorder->RecordThread();
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}

void CaptureRecorder::RecordThread()
{
    const int width = m_right - m_left;
    const int height = m_bottom - m_top;
    int code = kRecordDone;
    bool sound = m_withSound != 0;
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr;
    PAVISTREAM compressed = nullptr;
    BITMAPINFOHEADER* frame = nullptr;
    bool aviStarted = false;
    const char* videoPath = m_outputPath;

    if (HIWORD(VideoForWindowsVersion()) < 0x010A) {
        code = kRecordOldVideoForWindows;
    } else {
        FrameClock clock(timeGetTime());
        frame = CaptureFrame(m_left, m_top, width, height);
        if (!frame) {
            code = kRecordCaptureFailed;
        } else {
            AVIFileInit();
            aviStarted = true;
            if (sound) {
                MakeTempVideoName();
                videoPath = m_tempVideoPath;
            }
            if (AVIFileOpenA(&file, videoPath, OF_WRITE | OF_CREATE, nullptr) != AVIERR_OK) {
                file = nullptr;
                code = kRecordFileOpen;
            }
        }
        if (code == kRecordDone) {
            AVISTREAMINFOA info = {};
            info.fccType = streamtypeVIDEO;
            info.dwScale = 1;
            info.dwRate = FrameClock::kFramesPerSecond;
            info.dwSuggestedBufferSize = frame->biSizeImage;
            SetRect(&info.rcFrame, 0, 0, width, height);
            if (AVIFileCreateStreamA(file, &stream, &info) != AVIERR_OK) {
                stream = nullptr;
                code = kRecordStreamCreate;
            }
        }
        if (code == kRecordDone) {
            AVICOMPRESSOPTIONS options = {};
            options.fccType = streamtypeVIDEO;
            options.fccHandler = m_codec;
            options.dwKeyFrameEvery = 25;
            options.dwQuality = 6000;
            options.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID;
            if (AVIMakeCompressedStream(&compressed, stream, &options, nullptr) != AVIERR_OK) {
                compressed = nullptr;
                code = kRecordCompressedStream;
            }
        }
        if (code == kRecordDone) {
            const LONG formatSize = LONG(sizeof(BITMAPINFOHEADER) + 4 * frame->biClrUsed);
            if (AVIStreamSetFormat(compressed, 0, frame, formatSize) != AVIERR_OK)
                code = kRecordSetFormat;
        }
        FreeFrame(frame);
        frame = nullptr;

        if (code == kRecordDone) {
            if (sound) {
                PrepareSound();
                StartSound();
            }
            // The first frame is written even when the stop came while the
            // sound was starting: a video without frames cannot take the
            // sound, and the merge would fail.
            for (bool first = true; first || m_state == kStateRecording; first = false) {
                const uint32_t now = timeGetTime();
                frame = CaptureFrame(m_left, m_top, width, height);
                if (!frame) {
                    code = kRecordCaptureFailed;
                    break;
                }
                const uint32_t number = clock.Number(now);
                if (clock.Take(number)) {
                    const BYTE* bits = reinterpret_cast<const BYTE*>(frame) + sizeof(BITMAPINFOHEADER) +
                                       4 * frame->biClrUsed;
                    if (AVIStreamWrite(compressed, LONG(number), 1, const_cast<BYTE*>(bits), LONG(frame->biSizeImage),
                                       0, nullptr, nullptr) != AVIERR_OK) {
                        code = kRecordWriteFrame;
                    }
                }
                FreeFrame(frame);
                frame = nullptr;
                if (code != kRecordDone)
                    break;

                if (m_pause) {
                    // Any stop request ends a pause too: a host that pauses and
                    // then closes must not leave the thread waiting for ever.
                    const uint32_t pausedAt = timeGetTime();
                    while (m_pause && m_state == kStateRecording)
                        Sleep(50);
                    clock.AddPause(pausedAt, timeGetTime());
                    continue;
                }
                for (int i = 0; i < 2 && m_state == kStateRecording; ++i)
                    Sleep(50);
                if (m_state != kStateRecording)
                    break;
                Sleep(0);
            }
            sound = m_withSound != 0;
            if (sound) {
                StopSound();
                ReleaseWaveWriter();
            }
        }
    }

    FreeFrame(frame);
    if (compressed)
        AVIStreamRelease(compressed);
    if (stream)
        AVIStreamRelease(stream);
    if (file)
        AVIFileRelease(file);
    if (aviStarted)
        AVIFileExit();

    if (code == kRecordDone && m_tempVideoPath[0]) {
        // The video went to a temporary file because sound was asked for.
        // A sound file without samples (stopped before the device handed
        // anything back) has nothing to merge: the video goes out alone.
        if (m_withSound && m_soundBytes > 0) {
            if (MergeSound(m_tempVideoPath, m_tempSoundPath, m_outputPath, m_compressedFlag, m_compressedFormat,
                           m_compressedSize, m_interleave) != kMergeOk) {
                code = kRecordMergeFailed;
                // The temporary video stays when it could not be copied: it is
                // then the only copy of the recording.
                if (CopyFileA(m_tempVideoPath, m_outputPath, FALSE))
                    DeleteFileA(m_tempVideoPath);
            } else {
                DeleteFileA(m_tempVideoPath);
            }
            DeleteFileA(m_tempSoundPath);
        } else {
            // Sound was dropped at the start, or none came: the video alone
            // goes to the output.
            if (!MoveFileExA(m_tempVideoPath, m_outputPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
                code = kRecordFileOpen;
            if (m_tempSoundPath[0])
                DeleteFileA(m_tempSoundPath);
        }
    }

    // Ended by itself (a failure): back to idle, so the next start is taken.
    InterlockedCompareExchange(&m_state, kStateIdle, kStateRecording);
    EnterCriticalSection(&m_lock);
    m_threadFinished = 1;
    LeaveCriticalSection(&m_lock);
    Notify(code);
}

// ---- Frames ---------------------------------------------------------------------------------

HGLOBAL CaptureRecorder::BitmapToDib(HBITMAP bitmap, int bitCount) const
{
    BITMAP bm = {};
    if (!GetObjectA(bitmap, sizeof bm, &bm))
        return nullptr;
    const uint64_t total = DibTotalSize(bm.bmWidth, bm.bmHeight, bitCount);
    if (total == 0)
        return nullptr;
    HGLOBAL memory = GlobalAlloc(GHND, SIZE_T(total));
    if (!memory)
        return nullptr;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(memory));
    if (!header) {
        GlobalFree(memory);
        return nullptr;
    }
    const uint32_t entries = DibColourEntries(bitCount);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = bm.bmWidth;
    header->biHeight = bm.bmHeight;
    header->biPlanes = 1;
    header->biBitCount = WORD(bitCount);
    header->biCompression = BI_RGB;
    header->biSizeImage = DibStride(bm.bmWidth, bitCount) * uint32_t(bm.bmHeight);
    header->biClrUsed = entries;
    BYTE* bits = reinterpret_cast<BYTE*>(header) + sizeof(BITMAPINFOHEADER) + 4 * entries;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), bits, reinterpret_cast<BITMAPINFO*>(header),
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    header->biClrUsed = entries;
    GlobalUnlock(memory);
    if (rows != bm.bmHeight) {
        GlobalFree(memory);
        return nullptr;
    }
    return memory;
}

BITMAPINFOHEADER* CaptureRecorder::CaptureFrame(int left, int top, int width, int height)
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return nullptr;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    HGLOBAL dib = nullptr;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        if (m_drawCursor && m_cursor) {
            POINT pt = {};
            GetCursorPos(&pt);
            pt.x -= left;
            pt.y -= top;
            ICONINFO info = {};
            if (GetIconInfo(m_cursor, &info)) {
                pt.x -= LONG(info.xHotspot);
                pt.y -= LONG(info.yHotspot);
                if (info.hbmMask)
                    DeleteObject(info.hbmMask);
                if (info.hbmColor)
                    DeleteObject(info.hbmColor);
            }
            DrawIcon(memory, pt.x, pt.y, m_cursor);
        }
        SelectObject(memory, old);
        dib = BitmapToDib(bitmap, FrameBits());
        DeleteObject(bitmap);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return dib ? static_cast<BITMAPINFOHEADER*>(GlobalLock(dib)) : nullptr;
}

void CaptureRecorder::FreeFrame(BITMAPINFOHEADER* frame)
{
    if (!frame)
        return;
    HGLOBAL memory = GlobalHandle(frame);
    GlobalUnlock(memory);
    GlobalFree(memory);
}

void CaptureRecorder::MakeTempVideoName()
{
    MakeTempName(m_tempFolder, "\\~temp.avi", "\\~temp%d.avi", "C:\\~temp_0001.avi", m_tempVideoPath);
}

void CaptureRecorder::MakeTempSoundName()
{
    MakeTempName(m_tempFolder, "\\~temp001.wav", "\\~temp%d.wav", "C:\\~temp_0001.wav", m_tempSoundPath);
}
