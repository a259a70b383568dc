#pragma once

#include <cstddef>
#include <functional>

namespace voveriz::cli {

// Runs work(0) ... work(count - 1) with up to `jobs` of them in flight at once, and calls
// publish(i) in index order, each as soon as work(i) and every work before it have finished.
// publish is never called twice at once, and sees everything its work(i) wrote. The calling
// thread takes part in the work; the call returns when everything is published.
void runInOrder(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& publish);

}  // namespace voveriz::cli
