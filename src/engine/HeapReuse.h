#pragma once

namespace voveriz {

// Keeps the buffers of up to a few megabytes that every file needs anew (the decoder's rows, the
// pipeline's regions, the encoded bytes) in the heap for the next file, instead of having glibc
// map each one fresh from the kernel and fault it in page by page. Call once, before any thread
// starts.
void keepFileBuffersInHeap();

}  // namespace voveriz
