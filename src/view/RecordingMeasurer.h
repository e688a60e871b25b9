// Measures the wave list's recordings in the background, one at a time on a thread of low
// priority, so that no click and no sound waits for it. What it found is kept by path, size
// and modification time: a recording is measured again only when its file has changed.
#pragma once

#include "chart/RecordingLayer.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

class QThread;

class CRecordingMeasurer : public QObject {
    Q_OBJECT

public:
    explicit CRecordingMeasurer(QObject* parent = nullptr);
    // Stops measuring (within a frame's analysis) and waits for the thread.
    ~CRecordingMeasurer() override;

    // What is known of the file as it is now; nothing while it waits to be measured (then
    // it is queued, once).
    std::optional<RecordingFormants> Lookup(const std::string& path);

signals:
    // A recording has been measured (on the thread of this object).
    void measured(const QString& path);

private:
    struct FileStamp {
        std::uintmax_t size = 0;
        std::int64_t modified = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct Known {
        FileStamp stamp;
        RecordingFormants formants;
    };
    static FileStamp StampOf(const std::string& path);
    void Work();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::string> m_queue;
    std::map<std::string, Known> m_known;
    bool m_stop = false;
    std::atomic<bool> m_stopping{false}; // read by the analysis between frames
    QThread* m_thread = nullptr;
};
