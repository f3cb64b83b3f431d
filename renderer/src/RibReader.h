// Reads a RIB bytestream (ASCII, the binary encoding, or either compressed with gzip) into
// requests. Errors are reported through the error handler with file and line; reading goes on
// with the next request.
#pragma once

#include "Context.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace ri {

class RibReader
{
public:
    using Callback = std::function<void(const Request&)>;

    /// Requests go to `callback`; declarations are kept in the context's table, and handles
    /// (lights, objects) are numbered by the context.
    RibReader(Context& context, Callback callback);

    /// Reads a file ("-": standard input); false when it cannot be opened.
    bool readFile(const std::string& path, std::string& error);
    /// Reads a stream held in memory; `name` is used in messages.
    void readBuffer(const std::string& data, const std::string& name);

    /// Number of syntax errors reported so far.
    int errors() const { return errors_; }

private:
    struct Token
    {
        enum Kind { Name, String, Number, ArrayBegin, ArrayEnd, FloatArray, End } kind = End;
        std::string text;
        double number = 0;
        std::vector<float> floats;
        int line = 0;
    };
    Token next();
    void parse();
    bool readRequest(const std::string& name, int line);
    bool readArgument(char code, Request& q);
    bool readValueTokens(Token& first, std::vector<Token>& values, bool& array);
    void error(int line, const std::string& message);
    int handle(const std::string& kind, const std::string& key);

    Context& context_;
    Callback callback_;
    std::string data_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string name_;
    int errors_ = 0;
    bool havePeek_ = false;
    Token peek_;
    std::map<int, std::string> requestCodes_;
    std::map<int, std::string> stringCodes_;
    std::map<std::string, int> handles_;
};

} // namespace ri
