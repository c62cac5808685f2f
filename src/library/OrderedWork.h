#pragma once

// Work on many files at once, results taken in order: the index reads members on every core while
// one writer stores them in the order of the library, and Find in Library reports members in the
// order of their paths.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace orvale::library {

// Calls produce(i, state) for every i below count on a pool of threads, each thread with a State
// of its own (a read buffer, say), and hands the results to consume(i, result) on the calling
// thread in the order of i. Workers run at most `window` items ahead of consume, so the results
// waiting in memory stay bounded. When consume returns false no further result is consumed and
// the workers stop after the item in hand. Returns false when consume stopped the work.
template <typename Result, typename State, typename Produce, typename Consume>
bool RunInOrder(size_t count, size_t window, Produce produce, Consume consume) {
    if (count == 0)
        return true;
    std::vector<std::optional<Result>> slots(std::max<size_t>(1, std::min(count, window)));
    std::mutex mutex;
    std::condition_variable readyChanged, consumedChanged;
    std::atomic<size_t> next{0};
    size_t consumed = 0;
    std::atomic<bool> stop{false};

    auto worker = [&] {
        State state{};
        while (!stop) {
            size_t i = next++;
            if (i >= count)
                return;
            {
                std::unique_lock lock(mutex);
                consumedChanged.wait(lock, [&] { return stop || i < consumed + slots.size(); });
                if (stop)
                    return;
            }
            Result result = produce(i, state);
            std::lock_guard lock(mutex);
            slots[i % slots.size()] = std::move(result);
            readyChanged.notify_all();
        }
    };
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<size_t>(threads, count));
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t)
        pool.emplace_back(worker);

    bool finished = true;
    for (size_t i = 0; i < count; ++i) {
        std::optional<Result> result;
        {
            std::unique_lock lock(mutex);
            std::optional<Result>& slot = slots[i % slots.size()];
            readyChanged.wait(lock, [&] { return slot.has_value(); });
            result.swap(slot);
            ++consumed;
            consumedChanged.notify_all();
        }
        if (!consume(i, *result)) {
            finished = false;
            break;
        }
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
        consumedChanged.notify_all();
    }
    for (std::thread& t : pool)
        t.join();
    return finished;
}

} // namespace orvale::library
