#pragma once

#include <cstdlib>
#include <memory>

namespace skyfare {

// A reply or an error from xcb, which the caller owns and frees with free().
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
XcbReply<Reply> owned(Reply* reply) {
  return XcbReply<Reply>(reply, &std::free);
}

}  // namespace skyfare
