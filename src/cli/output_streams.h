#pragma once
// What the command line wrote: standard output written straight to its descriptor so a failed
// write is noticed (a full disk, a closed pipe), and the first line said on stderr, which
// becomes the message of a --json error object.

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace qm::cli {

class CheckedStdout final : public std::streambuf {
 public:
  CheckedStdout();
  ~CheckedStdout() override;
  CheckedStdout(const CheckedStdout&) = delete;
  CheckedStdout& operator=(const CheckedStdout&) = delete;

  // Writes what is buffered; the first failure's errno, 0 when every write went through.
  int finish();
  std::size_t bytesGiven() const { return given_; }

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  bool drain();

  std::vector<char> buffer_;
  std::size_t given_ = 0;
  int error_ = 0;
  bool lineByLine_;
  std::streambuf* previous_;
};

class RecordingStderr final : public std::streambuf {
 public:
  RecordingStderr();
  ~RecordingStderr() override;
  RecordingStderr(const RecordingStderr&) = delete;
  RecordingStderr& operator=(const RecordingStderr&) = delete;

  const std::string& firstLine() const { return firstLine_; }

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  std::streambuf* target_;
  std::string firstLine_;
  bool lineEnded_ = false;
};

// {"error": {"code": code, "message": message}} as one line.
std::string jsonError(int code, const std::string& message);

}  // namespace qm::cli
