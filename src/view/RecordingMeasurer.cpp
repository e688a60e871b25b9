#include "view/RecordingMeasurer.h"

#include "drawing/RecordingMeasure.h"

#include <QThread>

#include <algorithm>
#include <filesystem>

CRecordingMeasurer::CRecordingMeasurer(QObject* parent) : QObject(parent) {
    m_thread = QThread::create([this] { Work(); });
    m_thread->start(QThread::LowestPriority);
}

CRecordingMeasurer::~CRecordingMeasurer() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_stopping = true;
    m_wake.notify_all();
    m_thread->wait();
    delete m_thread;
}

CRecordingMeasurer::FileStamp CRecordingMeasurer::StampOf(const std::string& path) {
    std::error_code error;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(path, error);
    if (error)
        stamp.size = static_cast<std::uintmax_t>(-1);
    const auto time = std::filesystem::last_write_time(path, error);
    stamp.modified = error ? 0 : static_cast<std::int64_t>(time.time_since_epoch().count());
    return stamp;
}

std::optional<RecordingFormants> CRecordingMeasurer::Lookup(const std::string& path) {
    const FileStamp stamp = StampOf(path);
    const std::lock_guard lock(m_mutex);
    const auto known = m_known.find(path);
    if (known != m_known.end() && known->second.stamp == stamp)
        return known->second.formants;
    if (std::find(m_queue.begin(), m_queue.end(), path) == m_queue.end()) {
        m_queue.push_back(path);
        m_wake.notify_one();
    }
    return std::nullopt;
}

void CRecordingMeasurer::Work() {
    for (;;) {
        std::string path;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            path = m_queue.front();
        }
        // The stamp is taken before reading, so that a file changed while it is measured is
        // measured again.
        const FileStamp stamp = StampOf(path);
        RecordingFormants formants = MeasureRecordingFile(path, &m_stopping);
        {
            const std::lock_guard lock(m_mutex);
            if (m_stop)
                return;
            m_known[path] = Known{stamp, std::move(formants)};
            m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), path), m_queue.end());
        }
        QMetaObject::invokeMethod(
            this, [this, path] { emit measured(QString::fromStdString(path)); },
            Qt::QueuedConnection);
    }
}
