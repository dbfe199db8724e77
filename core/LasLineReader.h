// Reading a LAS file line by line in large blocks (LF, CR LF and CR line ends), then handing the
// unread bytes over block by block for the data section.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// "В строке N файла стоит символ конца файла DOS (0x1A): ...", what a load says of such a byte
// that ends the text early.
std::string DosEndMarkText(int line);

class LasLineReader {
public:
    LasLineReader() = default;
    ~LasLineReader();
    LasLineReader(const LasLineReader&) = delete;
    LasLineReader& operator=(const LasLineReader&) = delete;

    // Closes a file still open and starts on the new one at a byte offset; the buffer is kept
    // for reuse.
    bool Open(const std::string& path, long long offset = 0);

    // The first bytes of the file not yet consumed (up to one block), for encoding checks.
    std::string_view Peek();
    void Skip(size_t bytes);

    // The next line without its line end; false at the end of the file. The view stays valid
    // until the next call.
    bool NextLine(std::string_view& line);
    // 1-based number of the line last returned.
    int LineNumber() const { return lineNumber_; }
    // The line end of the line last returned ("" for a last line without one); valid until the
    // next call.
    std::string_view LineEnd() const { return lineEnd_; }
    // The line end of the file's first line ("" when it has none).
    const std::string& FirstLineEnd() const { return firstLineEnd_; }
    // Bytes of the file consumed so far (lines returned, bytes skipped or handed out).
    long long Offset() const { return fileBytes_ - static_cast<long long>(size_ - pos_); }

    // Copies up to maxBytes of the bytes after the last returned line to dest; 0 at the end of
    // the file.
    size_t ReadInto(char* dest, size_t maxBytes);
    // Bytes not yet handed out (from the file size; 0 when unknown).
    long long BytesLeft();

    // The text ends at a DOS end-of-file byte (0x1A): its offset in the file, -1 when none was
    // met. Whether nothing but more such bytes, blanks and line ends follows it, as DOS tools
    // left files; then `EndMark` holds the bytes from it to the end of the file.
    long long EndMarkOffset() const { return endMarkOffset_; }
    bool EndsWithMarkOnly() const;
    const std::string& EndMark() const { return endMark_; }

private:
    bool Fill();
    size_t ReadFromFile(char* dest, size_t bytes);
    std::string_view Buffered() const { return std::string_view(buffer_.get(), size_); }

    std::FILE* file_ = nullptr;
    // Bytes read and not yet dropped: size_ of capacity_, never zero-filled.
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
    size_t size_ = 0;
    size_t pos_ = 0;
    bool eof_ = false;
    int lineNumber_ = 0;
    long long fileBytes_ = 0;
    std::string_view lineEnd_;
    std::string firstLineEnd_;
    long long endMarkOffset_ = -1;
    std::string endMark_;
};
