// The calls a CrossThreadPost hands to the program's thread, kept under a lock of our own. Qt's
// queue of posted events is guarded by locks that ThreadSanitizer cannot see (Qt is not built
// with it); through this queue, what a thread did before it posted is seen to come before the
// call, as it does.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

class PostedCallQueue : public QObject
{
    Q_OBJECT

  public:
    PostedCallQueue() = default;

    // From any thread: queues the call and asks the program's thread to run the next one.
    void Push(std::function<void()> call);

    // On the program's thread, once per call pushed.
    Q_INVOKABLE void RunNext();

  private:
    std::mutex mutex_;
    std::deque<std::function<void()>> calls_;
};
