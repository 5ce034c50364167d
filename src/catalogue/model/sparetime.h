#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <type_traits>

// Threads that run only while no other wants the processor (SCHED_IDLE on
// Linux): work done ahead of need never slows what the user is waiting for,
// however few the cores. The pool is never destroyed, so that quitting never
// waits for such work: each task owns all it reads.
inline QThreadPool *spareTimePool()
{
    static QThreadPool *const pool = [] {
        auto *threads = new QThreadPool;
        threads->setThreadPriority(QThread::IdlePriority);
        return threads;
    }();
    return pool;
}

// Whether what a task makes is no longer wanted: it then returns what it
// has, which nobody reads.
using StopAsked = std::function<bool()>;

// Runs `work(stopAsked)` in spare time on a thread of spareTimePool(), then
// hands what it made to `done` on the thread of `context`, unless `context`
// is gone by then or the returned future was cancelled. What `work` captures
// is its own: it must share nothing that changes meanwhile.
template<typename Work, typename Done> auto runInSpareTime(QObject *context, Work work, Done done)
{
    using Result = std::invoke_result_t<Work &, const StopAsked &>;
    auto promise = std::make_shared<QPromise<Result>>();
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         if (!watcher->isCanceled() && watcher->future().resultCount() > 0)
                             done(watcher->future().takeResult());
                     });
    QFuture<Result> future = promise->future();
    watcher->setFuture(future);
    spareTimePool()->start([promise, work = std::move(work)]() mutable {
        promise->start();
        const StopAsked stopAsked = [&promise] { return promise->isCanceled(); };
        promise->addResult(work(stopAsked));
        promise->finish();
    });
    return future;
}
