// Streams: opening, reading records, handing records over, closing, and the fatal-error path.
#include "record/streams.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "record/record.hpp"

namespace kolven::record {
namespace detail {
namespace {

OutputStream console_output{static_cast<int>(OutStream::Console), "CONOUT$", 1, true};
InputStream console_input{static_cast<int>(InStream::Console), "CONIN$", 0, true};
OutputStream data_file{static_cast<int>(OutStream::DataFile), "", -1, false};
InputStream powerflow_file{static_cast<int>(InStream::PowerFlow), "", -1, false};

bool in_fatal_path = false;

void default_exit(int status) {
  std::_Exit(status);
}
ExitHandler exit_handler = default_exit;

// Waits until a non-blocking descriptor is ready, for a console that was left in that mode.
void wait_ready(int fd, short events) {
  pollfd p{fd, events, 0};
  while (poll(&p, 1, -1) < 0 && errno == EINTR) {
  }
}

// Writes all of [data, data + size); false when the system refuses.
bool write_all(int fd, const char* data, std::size_t size, std::uint64_t& written) {
  while (size > 0) {
    const ssize_t r = ::write(fd, data, size);
    if (r < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        wait_ready(fd, POLLOUT);
        continue;
      }
      return false;
    }
    data += r;
    size -= static_cast<std::size_t>(r);
    written += static_cast<std::uint64_t>(r);
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The failure number for an open that the system refused with `error`.
int open_failure(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return kPermissionDenied;
    case ENOENT:
    case ENOTDIR:
      return kFileNotFound;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return kBadFileName;
    case ENXIO:
    case ENODEV:
      return kNoSuchDevice;
    default:
      return kOpenFailure;
  }
}

bool is_folder(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_regular(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// Back to blocking mode: the open used O_NONBLOCK only so that a FIFO cannot make it wait.
void make_blocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

void close_output(OutputStream& s) {
  if (!s.is_open) return;
  s.is_open = false;
  ::close(s.fd);
  s.fd = -1;
}

void close_input(InputStream& s) {
  if (!s.is_open) return;
  s.is_open = false;
  ::close(s.fd);
  s.fd = -1;
  s.buffer.clear();
  s.begin = 0;
}

}  // namespace

bool OutputStream::flush_quietly() {
  if (buffer.empty()) return true;
  const std::uint64_t before = written;
  const bool ok = write_all(fd, buffer.data(), buffer.size(), written);
  if (written > before && regular && !cut) {
    // An existing file keeps nothing after the first record this run writes.
    cut = true;
    if (ftruncate(fd, static_cast<off_t>(written)) != 0) return false;
  }
  buffer.clear();
  return ok;
}

void OutputStream::flush() {
  if (!flush_quietly()) fatal_error(kWriteError, static_cast<OutStream>(number));
}

// Reads more bytes after what the buffer holds; false at the end of the input.
bool InputStream::fill() {
  const std::size_t chunk = number == static_cast<int>(InStream::Console) ? 4096 : 1 << 18;
  const std::size_t old = buffer.size();
  buffer.reserve(old + chunk);
  for (;;) {
    const ssize_t r = ::read(fd, buffer.data() + old, chunk);
    if (r > 0) {
      buffer.resize(old + static_cast<std::size_t>(r));
      return true;
    }
    if (r == 0) return false;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      wait_ready(fd, POLLIN);
      continue;
    }
    // A console input that is not there at all reads as ended.
    if (errno == EBADF && number == static_cast<int>(InStream::Console)) return false;
    fatal_error(kReadError, static_cast<InStream>(number));
  }
}

bool InputStream::next(std::string_view& record) {
  if (ended) return false;
  // Drop what earlier records used, once it is most of the buffer.
  if (begin > 0 && begin >= buffer.size() / 2) {
    buffer.erase_front(begin);
    begin = 0;
  }
  std::size_t scanned = begin;
  for (;;) {
    const char* const base = buffer.data();
    const void* lf = scanned < buffer.size()
                         ? std::memchr(base + scanned, '\n', buffer.size() - scanned)
                         : nullptr;
    std::size_t end;
    std::size_t after;
    if (lf != nullptr) {
      end = static_cast<std::size_t>(static_cast<const char*>(lf) - base);
      after = end + 1;
      if (end > begin && base[end - 1] == '\r') --end;
    } else if (eof) {
      if (begin == buffer.size()) {
        ended = true;
        return false;
      }
      end = after = buffer.size();  // a last line without line feed is still a record
    } else {
      if (buffer.size() - begin > kMaxRecord) {
        // No layout reaches this far: the rest of an overlong record is read and dropped.
        buffer.resize(begin + kMaxRecord);
      }
      scanned = buffer.size();
      if (!fill()) eof = true;
      continue;
    }
    record = std::string_view(base + begin, end - begin);
    begin = after;
    if (record.size() == 1 && record[0] == '\x1a') {
      ended = true;  // a record of the single byte 26 ends the stream for good
      return false;
    }
    return true;
  }
}

void InputStream::give_back() {
  const std::size_t ahead = buffer.size() - begin;
  if (ahead == 0 || ended) return;
  if (lseek(fd, -static_cast<off_t>(ahead), SEEK_CUR) >= 0) {
    buffer.clear();
    begin = 0;
    eof = false;
  }
}

OutputStream& output(int number) {
  return number == static_cast<int>(OutStream::Console) ? console_output : data_file;
}

InputStream& input(int number) {
  return number == static_cast<int>(InStream::Console) ? console_input : powerflow_file;
}

// The fatal-error path, shared by both overloads of fatal_error.
[[noreturn]] void fatal(int number, int unit, const std::string& name) {
  const char* message = "open failure, unit %d, file %s";
  switch (number) {
    case kEndOfFile:
      message = "end-of-file during read, unit %d, file %s";
      break;
    case kConversionError:
      message = "input conversion error, unit %d, file %s";
      break;
    case kReadError:
      message = "error during read, unit %d, file %s";
      break;
    case kWriteError:
      message = "error during write, unit %d, file %s";
      break;
    case kReadOnlyFile:
      message = "write to READONLY file, unit %d, file %s";
      break;
    case kPermissionDenied:
      message = "permission to access file denied, unit %d, file %s";
      break;
    case kFileNotFound:
      message = "file not found, unit %d, file %s";
      break;
    case kBadFileName:
      message = "file name specification error, unit %d, file %s";
      break;
    case kNoSuchDevice:
      message = "no such device, unit %d, file %s";
      break;
    default:
      break;
  }
  std::string line = "tavrek: severe (" + std::to_string(number) + "): ";
  for (const char* p = message; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 'd') {
      line += std::to_string(unit);
      ++p;
    } else if (p[0] == '%' && p[1] == 's') {
      line += name;
      ++p;
    } else {
      line += *p;
    }
  }
  line += '\n';

  if (!in_fatal_path) {
    in_fatal_path = true;
    // Every completed record is handed over first; a stream that refuses is left alone.
    console_output.flush_quietly();
    if (data_file.is_open) data_file.flush_quietly();
  }
  console_output.buffer.clear();
  data_file.buffer.clear();
  std::uint64_t ignored = 0;
  write_all(2, line.data(), line.size(), ignored);
  close_output(data_file);
  close_input(powerflow_file);
  in_fatal_path = false;
  exit_handler(static_cast<int>(0xC0000000u + static_cast<unsigned>(number)));
  std::_Exit(static_cast<int>(0xC0000000u + static_cast<unsigned>(number)));
}

}  // namespace detail

using detail::input;
using detail::output;

void open_for_writing(OutStream stream, std::string_view name) {
  detail::OutputStream& s = output(static_cast<int>(stream));
  s.name = std::string(detail::trim(name));
  s.read_only = s.regular = s.cut = s.line_open = false;
  s.written = 0;
  s.buffer.clear();
  // A name with a NUL byte would name another file to the system.
  if (s.name.find('\0') != std::string::npos) fatal_error(kBadFileName, stream);
  int fd = ::open(s.name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    if (error == EACCES || error == EPERM || error == EROFS || error == ETXTBSY) {
      // A write-protected file: opened for reading only; its first record ends the run.
      fd = ::open(s.name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
      if (fd >= 0 && detail::is_folder(fd)) {
        ::close(fd);
        fd = -1;
      }
      if (fd >= 0) s.read_only = true;
    }
    if (fd < 0) fatal_error(detail::open_failure(error), stream);
  }
  detail::make_blocking(fd);
  s.fd = fd;
  s.is_open = true;
  s.regular = detail::is_regular(fd);
}

void open_for_reading(InStream stream, std::string_view name) {
  detail::InputStream& s = input(static_cast<int>(stream));
  s.name = std::string(detail::trim(name));
  s.ended = s.eof = false;
  s.buffer.clear();
  s.begin = 0;
  if (s.name.find('\0') != std::string::npos) fatal_error(kBadFileName, stream);
  const int fd = ::open(s.name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) fatal_error(detail::open_failure(errno), stream);
  if (detail::is_folder(fd)) {
    ::close(fd);
    fatal_error(kPermissionDenied, stream);
  }
  detail::make_blocking(fd);
  s.fd = fd;
  s.is_open = true;
}

void close_stream(OutStream stream) {
  detail::OutputStream& s = output(static_cast<int>(stream));
  if (stream == OutStream::Console) return s.flush();  // the console is never closed
  if (!s.is_open) return;
  s.flush();
  detail::close_output(s);
}

void close_stream(InStream stream) {
  if (stream == InStream::Console) return;
  detail::close_input(input(static_cast<int>(stream)));
}

void fatal_error(int number, OutStream stream) {
  const detail::OutputStream& s = output(static_cast<int>(stream));
  detail::fatal(number, s.number, s.name);
}

void fatal_error(int number, InStream stream) {
  const detail::InputStream& s = input(static_cast<int>(stream));
  detail::fatal(number, s.number, s.name);
}

void stop() {
  close_stream(OutStream::DataFile);
  close_stream(InStream::PowerFlow);
  close_stream(OutStream::Console);
  detail::exit_handler(0);
  std::_Exit(0);
}

void reset_streams() {
  detail::data_file.buffer.clear();
  detail::close_output(detail::data_file);
  detail::close_input(detail::powerflow_file);
  detail::console_output.buffer.clear();
  detail::console_output.line_open = false;
  detail::InputStream& in = detail::console_input;
  in.buffer.clear();
  in.begin = 0;
  in.ended = in.eof = false;
  detail::in_fatal_path = false;
}

void set_exit_handler(ExitHandler handler) {
  detail::exit_handler = handler != nullptr ? handler : detail::default_exit;
}

}  // namespace kolven::record
