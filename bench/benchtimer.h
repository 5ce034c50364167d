#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

// The median wall time of `runs` calls of `work`, in milliseconds; `prepare`
// runs untimed before each call.
template<typename Work, typename Prepare = void (*)()>
double medianMilliseconds(
    int runs, Work &&work, Prepare &&prepare = [] {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
