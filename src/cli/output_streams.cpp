#include "cli/output_streams.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <nlohmann/json.hpp>

namespace qm::cli {

namespace {
constexpr std::size_t kChunk = 1 << 16;
}

CheckedStdout::CheckedStdout()
    : lineByLine_(::isatty(STDOUT_FILENO) != 0), previous_(std::cout.rdbuf(this)) {}

CheckedStdout::~CheckedStdout() {
  finish();
  std::cout.rdbuf(previous_);
}

bool CheckedStdout::drain() {
  std::size_t done = 0;
  while (error_ == 0 && done < buffer_.size()) {
    ssize_t n = ::write(STDOUT_FILENO, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  // After a failure the rest is dropped: the run goes on and says so at the end.
  buffer_.clear();
  return error_ == 0;
}

int CheckedStdout::finish() {
  drain();
  return error_;
}

CheckedStdout::int_type CheckedStdout::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return sync() == 0 ? 0 : ch;
  const char c = traits_type::to_char_type(ch);
  xsputn(&c, 1);
  return ch;
}

std::streamsize CheckedStdout::xsputn(const char* text, std::streamsize count) {
  given_ += static_cast<std::size_t>(count);
  buffer_.insert(buffer_.end(), text, text + count);
  // A person at the terminal sees each line as it is printed.
  if (buffer_.size() >= kChunk ||
      (lineByLine_ && std::find(text, text + count, '\n') != text + count))
    drain();
  return count;
}

int CheckedStdout::sync() {
  return drain() ? 0 : -1;
}

RecordingStderr::RecordingStderr() : target_(std::cerr.rdbuf(this)) {}

RecordingStderr::~RecordingStderr() {
  std::cerr.rdbuf(target_);
}

RecordingStderr::int_type RecordingStderr::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return 0;
  const char c = traits_type::to_char_type(ch);
  xsputn(&c, 1);
  return ch;
}

std::streamsize RecordingStderr::xsputn(const char* text, std::streamsize count) {
  for (std::streamsize i = 0; i < count && !lineEnded_; ++i) {
    if (text[i] == '\n')
      lineEnded_ = true;
    else
      firstLine_ += text[i];
  }
  return target_->sputn(text, count);
}

int RecordingStderr::sync() {
  return target_->pubsync();
}

std::string jsonError(int code, const std::string& message) {
  const nlohmann::json error = {{"error", {{"code", code}, {"message", message}}}};
  return error.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace qm::cli
