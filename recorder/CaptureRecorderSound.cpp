// The recorder's sound track: the default input recorded into a temporary
// WAV file beside the video, merged into the output at the end.
#include "CaptureRecorder.h"

#include <cstring>

namespace {

constexpr DWORD kSoundBufferBytes = 4000;   // block 4 x 1000 samples, about 45 ms
static_assert(sizeof(WAVEFORMATEX) == 18, "the 'fmt ' chunk holds an 18-byte format");
constexpr int kSoundBuffers = 3;
constexpr DWORD kSoundDrainMs = 2000;       // how long a reset device may take to hand buffers back
constexpr DWORD kWimData = 0x3C0;

void FreeOptionBlocks(AVICOMPRESSOPTIONS& options)
{
    if (options.lpFormat)
        GlobalFree(options.lpFormat);
    if (options.lpParms)
        GlobalFree(options.lpParms);
    options.lpFormat = nullptr;
    options.lpParms = nullptr;
}

// The save options for video and sound; the sound's format is `format`
// (copied) or, without one, the sound stream's own.
bool BuildMergeOptions(PAVISTREAM soundStream, const WAVEFORMATEX* format, DWORD formatSize, int interleave,
                       DWORD interleaveEvery, AVICOMPRESSOPTIONS& video, AVICOMPRESSOPTIONS& sound)
{
    video = AVICOMPRESSOPTIONS();
    video.fccType = streamtypeVIDEO;
    video.dwKeyFrameEvery = DWORD(-1);
    video.dwQuality = DWORD(-1);
    video.dwInterleaveEvery = interleaveEvery;
    video.dwFlags = AVICOMPRESSF_DATARATE | AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID |
                    (interleave ? AVICOMPRESSF_INTERLEAVE : 0);

    sound = AVICOMPRESSOPTIONS();
    sound.fccType = streamtypeAUDIO;
    sound.dwInterleaveEvery = interleaveEvery;
    sound.dwFlags = AVICOMPRESSF_VALID | (interleave ? AVICOMPRESSF_INTERLEAVE : 0);
    if (format && formatSize) {
        sound.lpFormat = GlobalAlloc(GPTR, formatSize);
        if (!sound.lpFormat)
            return false;
        memcpy(sound.lpFormat, format, formatSize);
        sound.cbFormat = formatSize;
        return true;
    }
    LONG size = 0;
    if (AVIStreamReadFormat(soundStream, AVIStreamStart(soundStream), nullptr, &size) != AVIERR_OK || size <= 0)
        return false;
    sound.lpFormat = GlobalAlloc(GPTR, SIZE_T(size));
    if (!sound.lpFormat)
        return false;
    sound.cbFormat = DWORD(size);
    return AVIStreamReadFormat(soundStream, AVIStreamStart(soundStream), sound.lpFormat, &size) == AVIERR_OK;
}

}  // namespace

// ---- WAV file -----------------------------------------------------------------------------------

WaveFileWriter::WaveFileWriter(const char* path, const WAVEFORMATEX* format)
{
    if (path)
        lstrcpynA(m_path, path, MAX_PATH);
    if (format) {
        m_format = *format;
        m_format.cbSize = 0;
        Open();
    }
}

WaveFileWriter::~WaveFileWriter()
{
    Close();
}

bool WaveFileWriter::Open()
{
    if (m_file)
        return false;
    m_file = mmioOpenA(m_path, nullptr, MMIO_CREATE | MMIO_WRITE | MMIO_EXCLUSIVE | MMIO_ALLOCBUF);
    if (!m_file)
        return false;
    const LONG formatBytes = LONG(sizeof(WAVEFORMATEX));   // 18: the extra-bytes count included
    m_riff = MMCKINFO();
    m_riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    bool ok = mmioCreateChunk(m_file, &m_riff, MMIO_CREATERIFF) == MMSYSERR_NOERROR;
    if (ok) {
        m_chunk = MMCKINFO();
        m_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
        m_chunk.cksize = DWORD(formatBytes) + m_format.cbSize;   // no extra bytes are kept
        ok = mmioCreateChunk(m_file, &m_chunk, 0) == MMSYSERR_NOERROR &&
             mmioWrite(m_file, reinterpret_cast<const char*>(&m_format), formatBytes) == formatBytes &&
             mmioAscend(m_file, &m_chunk, 0) == MMSYSERR_NOERROR;
    }
    if (ok) {
        m_chunk = MMCKINFO();
        m_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
        ok = mmioCreateChunk(m_file, &m_chunk, 0) == MMSYSERR_NOERROR;
    }
    if (!ok) {
        mmioClose(m_file, 0);
        m_file = nullptr;
    }
    return ok;
}

bool WaveFileWriter::Write(const void* bytes, DWORD count)
{
    if (!m_file)
        return false;
    return mmioWrite(m_file, static_cast<const char*>(bytes), LONG(count)) == LONG(count);
}

void WaveFileWriter::Close()
{
    if (!m_file)
        return;
    mmioAscend(m_file, &m_chunk, 0);
    mmioAscend(m_file, &m_riff, 0);
    mmioClose(m_file, 0);
    m_file = nullptr;
}

// ---- Sound device -------------------------------------------------------------------------------

void CaptureRecorder::PrepareSound()
{
    m_queuedBuffers = 0;
    m_soundBytes = 0;
    m_waveIn = nullptr;
    m_samplesPerBuffer = 1000;

    // A failed query counts as "not supported": the record is not read then.
    WAVEINCAPSA caps = {};
    if (m_platform.waveInGetDevCapsA(UINT_PTR(m_soundDevice), &caps, sizeof caps) != MMSYSERR_NOERROR ||
        !(caps.dwFormats & WAVE_FORMAT_2S16)) {
        m_withSound = 0;
        Notify(kRecordSoundFormat);
        return;
    }
    m_soundFormat = WAVEFORMATEX();
    m_soundFormat.wFormatTag = WAVE_FORMAT_PCM;
    m_soundFormat.nChannels = 2;
    m_soundFormat.nSamplesPerSec = 22050;
    m_soundFormat.nAvgBytesPerSec = 88200;
    m_soundFormat.nBlockAlign = 4;
    m_soundFormat.wBitsPerSample = 16;
    m_soundFormat.cbSize = 0;

    ReleaseWaveWriter();
    ChooseSoundFormat();
    MakeTempSoundName();
    m_waveWriter = new (std::nothrow) WaveFileWriter(m_tempSoundPath, &m_soundFormat);
    if (!m_waveWriter || !m_waveWriter->IsOpen()) {
        ReleaseWaveWriter();
        Notify(kRecordSoundFormat);
        m_withSound = 0;
    }
}

void CaptureRecorder::ChooseSoundFormat()
{
    m_compressedFlag = 1;
    if (!m_compressedMem) {
        DWORD size = 0;
        if (m_platform.acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &size) != MMSYSERR_NOERROR ||
            size < sizeof(WAVEFORMATEX)) {
            m_compressedFlag = 0;
            return;
        }
        m_compressedMem = GlobalAlloc(GHND, size);
        m_compressedFormat = m_compressedMem ? static_cast<WAVEFORMATEX*>(GlobalLock(m_compressedMem)) : nullptr;
        if (!m_compressedFormat) {
            if (m_compressedMem)
                GlobalFree(m_compressedMem);
            m_compressedMem = nullptr;
            m_compressedFlag = 0;
            return;
        }
        m_compressedSize = size;
    }
    const WORD tags[] = {0x55 /* MPEG layer-3 */, WAVE_FORMAT_ADPCM, WAVE_FORMAT_PCM};
    for (WORD tag : tags) {
        memset(m_compressedFormat, 0, m_compressedSize);
        m_compressedFormat->wFormatTag = tag;
        if (m_platform.acmFormatSuggest(nullptr, &m_soundFormat, m_compressedFormat, m_compressedSize,
                                        ACM_FORMATSUGGESTF_WFORMATTAG) == MMSYSERR_NOERROR)
            return;
    }
    m_compressedFlag = 0;
}

void CaptureRecorder::StartSound()
{
    if (!m_withSound)
        return;
    m_soundQuit = 0;
    m_soundStopping = 0;
    m_fullBuffers.clear();
    ResetEvent(m_soundWake);
    SetEvent(m_soundDrained);
    bool ok = m_platform.waveInOpen(&m_waveIn, UINT(m_soundDevice), &m_soundFormat,
                                    reinterpret_cast<DWORD_PTR>(&WaveInProc), reinterpret_cast<DWORD_PTR>(this),
                                    CALLBACK_FUNCTION) == MMSYSERR_NOERROR;
    if (!ok)
        m_waveIn = nullptr;
    if (ok) {
        DWORD id = 0;
        m_soundThread = CreateThread(nullptr, 0, SoundThreadProc, this, 0, &id);
        ok = m_soundThread != nullptr;
    }
    if (ok) {
        int queued = 0;
        for (int i = 0; i < kSoundBuffers; ++i)
            queued += QueueSoundBuffer() ? 1 : 0;
        ok = queued == kSoundBuffers && m_platform.waveInStart(m_waveIn) == MMSYSERR_NOERROR;
    }
    if (!ok) {
        // Hand back what was queued and close the device; the recording goes on silent.
        m_withSound = 0;
        StopSound();
        Notify(kRecordSoundStart);
    }
}

bool CaptureRecorder::QueueSoundBuffer()
{
    auto* header = static_cast<WAVEHDR*>(calloc(1, sizeof(WAVEHDR)));
    char* data = static_cast<char*>(malloc(kSoundBufferBytes));
    if (!header || !data) {
        free(header);
        free(data);
        return false;
    }
    header->lpData = data;
    header->dwBufferLength = kSoundBufferBytes;
    if (m_platform.waveInPrepareHeader(m_waveIn, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        free(data);
        free(header);
        return false;
    }
    // Counted before it is handed over: it may come back at once.
    if (InterlockedIncrement(&m_queuedBuffers) == 1)
        ResetEvent(m_soundDrained);
    if (m_platform.waveInAddBuffer(m_waveIn, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        m_platform.waveInUnprepareHeader(m_waveIn, header, sizeof(WAVEHDR));
        FreeSoundBuffer(header);
        return false;
    }
    return true;
}

void CaptureRecorder::FreeSoundBuffer(WAVEHDR* header)
{
    free(header->lpData);
    free(header);
    if (InterlockedDecrement(&m_queuedBuffers) == 0)
        SetEvent(m_soundDrained);
}

void CALLBACK CaptureRecorder::WaveInProc(HWAVEIN, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR)
{
    auto* recorder = reinterpret_cast<CaptureRecorder*>(instance);
    if (message != kWimData || !recorder)
        return;
    // No device calls here: the buffer goes to the sound thread.
    EnterCriticalSection(&recorder->m_soundLock);
    recorder->m_fullBuffers.push_back(reinterpret_cast<WAVEHDR*>(param1));
    LeaveCriticalSection(&recorder->m_soundLock);
    SetEvent(recorder->m_soundWake);
}

DWORD WINAPI CaptureRecorder::SoundThreadProc(void* arg)
{
    static_cast<CaptureRecorder*>(arg)->SoundThread();
    return 0;
}

void CaptureRecorder::SoundThread()
{
    for (;;) {
        WaitForSingleObject(m_soundWake, INFINITE);
        for (;;) {
            WAVEHDR* header = nullptr;
            EnterCriticalSection(&m_soundLock);
            if (!m_fullBuffers.empty()) {
                header = m_fullBuffers.front();
                m_fullBuffers.pop_front();
            }
            LeaveCriticalSection(&m_soundLock);
            if (!header)
                break;
            OnSoundData(header);
        }
        if (m_soundQuit)
            return;
    }
}

void CaptureRecorder::OnSoundData(WAVEHDR* header)
{
    if (m_platform.waveInUnprepareHeader(m_waveIn, header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
        return;
    // A buffer handed back at the stop holds sound recorded before it: it is
    // written too, only not queued again.
    if (!m_pause && m_waveWriter && header->dwBytesRecorded) {
        if (m_waveWriter->Write(header->lpData, header->dwBytesRecorded)) {
            m_soundBytes += header->dwBytesRecorded;
        } else {
            // The file keeps what was written; buffers go on circulating
            // unwritten until the capture thread closes the device.
            ReleaseWaveWriter();
        }
    }
    if (m_state == kStateRecording && !m_soundStopping) {
        header->dwBytesRecorded = 0;
        header->dwFlags = 0;
        if (m_platform.waveInPrepareHeader(m_waveIn, header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR) {
            if (m_platform.waveInAddBuffer(m_waveIn, header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR)
                return;
            m_platform.waveInUnprepareHeader(m_waveIn, header, sizeof(WAVEHDR));
        }
    }
    FreeSoundBuffer(header);
}

void CaptureRecorder::StopSound()
{
    if (m_waveIn) {
        // The device hands every queued buffer back; the sound thread frees them.
        m_soundStopping = 1;
        m_platform.waveInReset(m_waveIn);
    }
    if (m_soundThread) {
        if (m_waveIn)
            WaitForSingleObject(m_soundDrained, kSoundDrainMs);
        m_soundQuit = 1;
        SetEvent(m_soundWake);
        WaitForSingleObject(m_soundThread, INFINITE);
        CloseHandle(m_soundThread);
        m_soundThread = nullptr;
    }
    if (m_waveIn) {
        m_platform.waveInStop(m_waveIn);
        m_platform.waveInClose(m_waveIn);
        m_waveIn = nullptr;
    }
    // Buffers that never came back are lost to the device; do not touch them.
    EnterCriticalSection(&m_soundLock);
    m_fullBuffers.clear();
    LeaveCriticalSection(&m_soundLock);
}

void CaptureRecorder::ReleaseWaveWriter()
{
    delete m_waveWriter;
    m_waveWriter = nullptr;
}

// ---- Merge ----------------------------------------------------------------------------------------

int CaptureRecorder::MergeSound(const char* videoPath, const char* soundPath, const char* outputPath,
                                int compressedFlag, const WAVEFORMATEX* format, DWORD formatSize, int interleave)
{
    AVIFileInit();
    PAVISTREAM video = nullptr;
    PAVISTREAM sound = nullptr;
    int result = kMergeOk;

    PAVIFILE file = nullptr;
    if (AVIFileOpenA(&file, videoPath, OF_READ | OF_SHARE_DENY_WRITE, nullptr) != AVIERR_OK) {
        result = kMergeVideoOpen;
    } else {
        PAVISTREAM opened = nullptr;
        if (AVIFileGetStream(file, &opened, streamtypeVIDEO, 0) != AVIERR_OK ||
            CreateEditableStream(&video, opened) != AVIERR_OK) {
            video = nullptr;
            result = kMergeVideoOpen;
        }
        if (opened)
            AVIStreamRelease(opened);
        AVIFileRelease(file);
    }

    if (result == kMergeOk) {
        PAVISTREAM opened = nullptr;
        if (AVIStreamOpenFromFileA(&opened, soundPath, streamtypeAUDIO, 0, OF_READ | OF_SHARE_DENY_WRITE, nullptr) !=
                AVIERR_OK ||
            CreateEditableStream(&sound, opened) != AVIERR_OK) {
            sound = nullptr;
            result = kMergeSoundOpen;
        }
        if (opened)
            AVIStreamRelease(opened);
    }

    if (result == kMergeOk) {
        AVISTREAMINFOA videoInfo = {}, soundInfo = {};
        AVIStreamInfoA(video, &videoInfo, sizeof videoInfo);
        AVIStreamInfoA(sound, &soundInfo, sizeof soundInfo);
        if (videoInfo.fccType != streamtypeVIDEO || soundInfo.fccType != streamtypeAUDIO)
            result = kMergeStreamTypes;
    }

    if (result == kMergeOk) {
        PAVISTREAM streams[2] = {video, sound};
        AVICOMPRESSOPTIONS videoOptions, soundOptions;
        LPAVICOMPRESSOPTIONS options[2] = {&videoOptions, &soundOptions};
        const bool useCompressed = compressedFlag && format && formatSize;
        bool built = BuildMergeOptions(sound, useCompressed ? format : nullptr, formatSize, interleave, 1,
                                       videoOptions, soundOptions);
        bool saved = built && AVISaveVA(outputPath, nullptr, nullptr, 2, streams, options) == AVIERR_OK;
        FreeOptionBlocks(videoOptions);
        FreeOptionBlocks(soundOptions);
        if (!saved && useCompressed) {
            // Once more with the sound as it was recorded.
            built = BuildMergeOptions(sound, nullptr, 0, interleave, 100, videoOptions, soundOptions);
            saved = built && AVISaveVA(outputPath, nullptr, nullptr, 2, streams, options) == AVIERR_OK;
            FreeOptionBlocks(videoOptions);
            FreeOptionBlocks(soundOptions);
        }
        if (!saved)
            result = kMergeSave;
    }

    if (video)
        AVIStreamRelease(video);
    if (sound)
        AVIStreamRelease(sound);
    AVIFileExit();
    return result;
}
