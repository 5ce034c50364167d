#pragma once

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <type_traits>

// Threads that run only while no other wants the processor (SCHED_IDLE on
// Linux): work done ahead of need never slows what the user is waiting for,
// however few the cores. They end with the application, which waits for them.
inline QThreadPool *spareTimePool()
{
    static QPointer<QThreadPool> pool;
    if (!pool) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setThreadPriority(QThread::IdlePriority);
    }
    return pool;
}

// Runs `work` in spare time on a thread of spareTimePool(), then hands what it
// made to `done` on the thread of `context`, unless `context` is gone by
// then. What `work` captures is its own: it must share nothing that changes
// meanwhile.
template<typename Work, typename Done> void runInSpareTime(QObject *context, Work work, Done done)
{
    using Result = std::invoke_result_t<Work &>;
    auto promise = std::make_shared<QPromise<Result>>();
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         done(watcher->future().takeResult());
                     });
    watcher->setFuture(promise->future());
    spareTimePool()->start([promise, work = std::move(work)]() mutable {
        promise->start();
        promise->addResult(work());
        promise->finish();
    });
}
