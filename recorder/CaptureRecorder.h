// The recorder object behind Vidrelle.dll's three exports.
//
// One `CaptureRecorder` records a rectangle of the screen into an AVI file on
// a capture thread of its own, at ten frames a second of wall-clock time,
// optionally with the default sound input merged in at the end. The host
// starts it, may pause it, and stops it with or without a final report; every
// outcome reaches the host's callback as a status code.
//
// States: 0 idle, 1 recording, 2 stopped without reports. The capture thread
// runs while the state is 1; when it ends by itself it puts the state back
// to 0, so the next start is accepted. A start is refused (code 1) while a
// previous capture thread has not yet finished with the object. The thread
// holds a reference to the module it runs in, so a host that unloads the
// library right after stopping does not pull the code from under it.
//
// Codes 1, 2 and 7 are reported on the caller's thread from inside
// StartRecord; all others on the capture thread. Exactly one final code
// (0, 3, 5, 9-13, 16) follows each successful start unless the state is 2.
//
// The platform calls the recorder makes for threads, sound input and the
// audio compression manager go through `RecorderPlatform`, so tests can put
// a sound device of their own in place of the system's.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
#include <vfw.h>

#include <deque>

#include "RecorderCore.h"

extern "C" {
typedef void(__cdecl* RecordCallback)(void* user, int code);
}

enum RecordStatusCode {
    kRecordDone = 0,
    kRecordAlreadyRecording = 1,
    kRecordEmptyRect = 2,
    kRecordOldVideoForWindows = 3,
    kRecordCaptureFailed = 5,
    kRecordNoThread = 7,
    kRecordFileOpen = 9,
    kRecordStreamCreate = 10,
    kRecordCompressedStream = 11,
    kRecordSetFormat = 12,
    kRecordWriteFrame = 13,
    kRecordSoundFormat = 14,
    kRecordSoundStart = 15,
    kRecordMergeFailed = 16,
};

enum RecordState {
    kStateIdle = 0,
    kStateRecording = 1,
    kStateSilentStop = 2,
};

// Results of CaptureRecorder::MergeSound.
enum MergeResult {
    kMergeOk = 0,
    kMergeVideoOpen = 1,
    kMergeSoundOpen = 2,
    kMergeStreamTypes = 3,
    kMergeSave = 5,
};

struct RecorderPlatform {
    HANDLE(*createThread)(LPTHREAD_START_ROUTINE proc, void* arg, DWORD* threadId);
    MMRESULT(WINAPI* waveInGetDevCapsA)(UINT_PTR device, LPWAVEINCAPSA caps, UINT size);
    MMRESULT(WINAPI* waveInOpen)(LPHWAVEIN wave, UINT device, LPCWAVEFORMATEX format, DWORD_PTR callback,
                                 DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI* waveInPrepareHeader)(HWAVEIN wave, LPWAVEHDR header, UINT size);
    MMRESULT(WINAPI* waveInUnprepareHeader)(HWAVEIN wave, LPWAVEHDR header, UINT size);
    MMRESULT(WINAPI* waveInAddBuffer)(HWAVEIN wave, LPWAVEHDR header, UINT size);
    MMRESULT(WINAPI* waveInStart)(HWAVEIN wave);
    MMRESULT(WINAPI* waveInStop)(HWAVEIN wave);
    MMRESULT(WINAPI* waveInReset)(HWAVEIN wave);
    MMRESULT(WINAPI* waveInClose)(HWAVEIN wave);
    MMRESULT(WINAPI* acmMetrics)(HACMOBJ object, UINT metric, LPVOID value);
    MMRESULT(WINAPI* acmFormatSuggest)(HACMDRIVER driver, LPWAVEFORMATEX source, LPWAVEFORMATEX dest, DWORD size,
                                       DWORD flags);
};
const RecorderPlatform& SystemRecorderPlatform();

class WaveFileWriter;

class CaptureRecorder {
public:
    explicit CaptureRecorder(const RecorderPlatform& platform = SystemRecorderPlatform());
    virtual ~CaptureRecorder();
    CaptureRecorder(const CaptureRecorder&) = delete;
    CaptureRecorder& operator=(const CaptureRecorder&) = delete;

    // ---- Exports ----
    int StartRecord(int left, int top, int right, int bottom, int drawCursor, int withSound, const char* path,
                    RecordCallback callback, void* user);
    int PauseRecord(int pause);
    int StopRecord(int state);

    // ---- Capture thread (public for the thread entry) ----
    void RecordThread();
    static DWORD WINAPI RecordThreadProc(void* arg);

    // ---- Frames ----
    // A packed bitmap (header, colour table, pixels) in movable global memory.
    HGLOBAL BitmapToDib(HBITMAP bitmap, int bitCount) const;
    // A locked frame of the screen area, the cursor drawn in when asked; null
    // when it could not be taken.
    BITMAPINFOHEADER* CaptureFrame(int left, int top, int width, int height);
    static void FreeFrame(BITMAPINFOHEADER* frame);

    // ---- Sound ----
    void PrepareSound();
    void ChooseSoundFormat();
    void StartSound();
    bool QueueSoundBuffer();
    static void CALLBACK WaveInProc(HWAVEIN wave, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                    DWORD_PTR param2);
    void OnSoundData(WAVEHDR* header);
    void StopSound();
    void ReleaseWaveWriter();
    static int MergeSound(const char* videoPath, const char* soundPath, const char* outputPath, int compressedFlag,
                          const WAVEFORMATEX* format, DWORD formatSize, int interleave);

    void MakeTempVideoName();
    void MakeTempSoundName();

    // ---- For hosts and tests ----
    int State() const { return m_state; }
    int BitsPerPixel() const { return m_bitsPerPixel; }
    int FrameBits() const { return vidrelle::FrameBitCount(m_bitsPerPixel); }
    const char* TempFolder() const { return m_tempFolder; }
    const char* TempVideoPath() const { return m_tempVideoPath; }
    const char* TempSoundPath() const { return m_tempSoundPath; }
    vidrelle::CaptureRect Rect() const { return {m_left, m_top, m_right, m_bottom}; }
    int CompressedFormatFlag() const { return m_compressedFlag; }
    const WAVEFORMATEX* CompressedFormat() const { return m_compressedFormat; }
    // Waits until the current capture thread has ended; true when it has (or
    // there is none).
    bool WaitForCaptureThread(DWORD timeoutMs);
    void SetScreenForTest(int width, int height, int bitsPerPixel);

private:
    void Notify(int code);
    bool SoundBufferFull(WAVEHDR* header);
    static DWORD WINAPI SoundThreadProc(void* arg);
    void SoundThread();
    void FreeSoundBuffer(WAVEHDR* header);

    RecordCallback m_callback = nullptr;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    volatile LONG m_pause = 0;
    int m_drawCursor = 0;
    volatile LONG m_withSound = 0;
    char m_outputPath[MAX_PATH] = {};
    char m_tempFolder[MAX_PATH] = {};
    volatile LONG m_state = kStateIdle;
    int m_interleave = 1;
    void* m_user = nullptr;
    int m_bitsPerPixel = 32;
    FOURCC m_codec;
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
    char m_tempVideoPath[MAX_PATH] = {};
    char m_tempSoundPath[MAX_PATH] = {};
    volatile LONG m_queuedBuffers = 0;
    DWORD m_soundBytes = 0;              // written to the sound file (sound thread; read after it ended)
    int m_samplesPerBuffer = 1000;
    HWAVEIN m_waveIn = nullptr;
    WAVEFORMATEX m_soundFormat = {};
    WaveFileWriter* m_waveWriter = nullptr;
    int m_soundDevice = -1;
    int m_compressedFlag = 1;
    HGLOBAL m_compressedMem = nullptr;
    WAVEFORMATEX* m_compressedFormat = nullptr;
    DWORD m_compressedSize = 0;
    HCURSOR m_cursor = nullptr;

    // Lifetime of the capture thread.
    const RecorderPlatform m_platform;   // a copy: callers pass temporaries
    CRITICAL_SECTION m_lock;            // the callback and its user data, the thread handle
    HANDLE m_thread = nullptr;
    volatile LONG m_threadFinished = 1;  // the thread no longer uses the object
    HMODULE m_threadModule = nullptr;

    // Sound buffers come back on the sound system's thread; they are handled
    // on the recorder's sound thread, where device calls are allowed.
    CRITICAL_SECTION m_soundLock;
    std::deque<WAVEHDR*> m_fullBuffers;
    HANDLE m_soundWake = nullptr;        // auto-reset: a buffer came back, or quit
    HANDLE m_soundDrained = nullptr;     // manual-reset: no buffer is queued
    HANDLE m_soundThread = nullptr;
    volatile LONG m_soundQuit = 0;
    volatile LONG m_soundStopping = 0;   // buffers coming back are freed, not queued again
};

// Writes one RIFF WAVE file through the multimedia file functions.
class WaveFileWriter {
public:
    WaveFileWriter(const char* path, const WAVEFORMATEX* format);
    virtual ~WaveFileWriter();
    WaveFileWriter(const WaveFileWriter&) = delete;
    WaveFileWriter& operator=(const WaveFileWriter&) = delete;

    bool Open();
    bool Write(const void* bytes, DWORD count);
    bool IsOpen() const { return m_file != nullptr; }
    void Close();

private:
    HMMIO m_file = nullptr;
    char m_path[MAX_PATH] = {};
    MMCKINFO m_riff = {};
    MMCKINFO m_chunk = {};
    WAVEFORMATEX m_format = {};
};
