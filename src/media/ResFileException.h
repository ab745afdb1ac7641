// The one reported failure of the game: a resource file that cannot be loaded.
#pragma once

#include <exception>

class cResFileException : public std::exception {
public:
    explicit cResFileException(const char* path);
    ~cResFileException() override;
    cResFileException(const cResFileException&) = delete;
    cResFileException& operator=(const cResFileException&) = delete;
    const char* what() const noexcept override { return message; }

private:
    char* message;
};
