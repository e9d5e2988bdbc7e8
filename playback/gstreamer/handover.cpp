#include "playback/gstreamer/handover.h"

HandOver::Change HandOver::tell(const QStringList &upcoming)
{
    std::lock_guard lock(m_lock);
    m_upcoming = upcoming;
    for (std::size_t i = 0; i < m_queued.size(); ++i) {
        Queued &queued = m_queued[i];
        if (queued.dropped)
            return Change::None;
        if (qsizetype(i) < upcoming.size() && upcoming.at(qsizetype(i)) == queued.path)
            continue;
        if (queued.arrived || (m_awaitingFirstBuffer && i + 1 == m_queued.size()))
            return Change::TooLate;
        // Files are handed over and begin at the sink in order: none after this one has begun.
        queued.dropped = true;
        m_queued.resize(i + 1);
        return Change::Dropped;
    }
    return Change::None;
}

int HandOver::name()
{
    std::lock_guard lock(m_lock);
    m_queued.clear();
    m_dropping = false;
    m_awaitingFirstBuffer = false;
    m_heardFile = m_sinkFile = ++m_files;
    return m_heardFile;
}

bool HandOver::clear()
{
    std::lock_guard lock(m_lock);
    const bool any = !m_queued.empty();
    m_queued.clear();
    m_sinkFile = m_heardFile;
    m_dropping = false;
    m_awaitingFirstBuffer = false;
    return any;
}

void HandOver::close()
{
    std::lock_guard lock(m_lock);
    m_closed = true;
}

void HandOver::open()
{
    std::lock_guard lock(m_lock);
    m_closed = false;
}

std::optional<HandOver::Queued> HandOver::front() const
{
    std::lock_guard lock(m_lock);
    if (m_queued.empty() || !m_queued.front().arrived)
        return std::nullopt;
    return m_queued.front();
}

bool HandOver::isEmpty() const
{
    std::lock_guard lock(m_lock);
    return m_queued.empty();
}

void HandOver::hear()
{
    std::lock_guard lock(m_lock);
    if (m_queued.empty())
        return;
    if (!m_upcoming.isEmpty() && m_upcoming.constFirst() == m_queued.front().path)
        m_upcoming.removeFirst();
    m_heardFile = m_queued.front().file;
    m_queued.pop_front();
}

QString HandOver::take()
{
    std::lock_guard lock(m_lock);
    const qsizetype next = qsizetype(m_queued.size());
    if (m_closed || next >= m_upcoming.size()
        || std::any_of(m_queued.begin(), m_queued.end(), [](const Queued &queued) { return queued.dropped; }))
        return QString();
    m_queued.push_back({ m_upcoming.at(next), ++m_files });
    return m_queued.back().path;
}

bool HandOver::failHanded()
{
    std::lock_guard lock(m_lock);
    Queued *handed = firstNotBegun();
    if (!handed || handed->dropped)
        return false;
    handed->dropped = true;
    m_queued.resize(std::size_t(handed - &m_queued.front()) + 1);
    return true;
}

int HandOver::sinkFile() const
{
    std::lock_guard lock(m_lock);
    return m_sinkFile;
}

bool HandOver::streamBegins()
{
    std::lock_guard lock(m_lock);
    if (m_dropping)
        return true;
    m_awaitingFirstBuffer = false;
    Queued *begun = firstNotBegun();
    if (!begun)
        return false;
    begun->begun = true;
    if (!begun->dropped) {
        m_sinkFile = begun->file;
        m_awaitingFirstBuffer = true;
        return false;
    }
    begun->arrived = true;
    begun->at = m_lastEnd;
    m_dropping = true;
    return true;
}

bool HandOver::passes(quint64 start, quint64 end)
{
    std::lock_guard lock(m_lock);
    m_lastEnd = end;
    if (!std::exchange(m_awaitingFirstBuffer, false) || m_queued.empty())
        return false;
    auto begun
        = std::find_if(m_queued.rbegin(), m_queued.rend(), [](const Queued &queued) { return queued.begun; });
    if (begun == m_queued.rend())
        return false;
    begun->arrived = true;
    begun->at = start;
    return true;
}

bool HandOver::isDropping() const
{
    std::lock_guard lock(m_lock);
    return m_dropping;
}

HandOver::Queued *HandOver::firstNotBegun()
{
    auto found
        = std::find_if(m_queued.begin(), m_queued.end(), [](const Queued &queued) { return !queued.begun; });
    return found == m_queued.end() ? nullptr : &*found;
}
