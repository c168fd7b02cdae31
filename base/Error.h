#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pomvella {

// The one error type of the tool. Its message is the text the user sees, in
// UTF-8, exactly as the front ends show it (before ErrorBoxText adds its ".").
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Paths in messages are shown as the user gave them, in UTF-8.
std::string PathText(const std::filesystem::path& path);

Error FileOpenError(const std::filesystem::path& path);    // "ﾌｧｲﾙ %s は開けません"
Error FileCreateError(const std::filesystem::path& path);  // "ﾌｧｲﾙ %s を作成できません"
Error ReadError();                                         // "ｽﾄﾘｰﾑからの読み込みｴﾗｰ"
Error WriteError();                                        // "ｽﾄﾘｰﾑへの書き込みｴﾗｰ"
Error MemoryStreamFullError();                             // "ﾒﾓﾘｽﾄﾘｰﾑの拡大中にﾒﾓﾘが足りなくなりました"
Error InvalidBitmapError();                                // "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です"
// "Assertion failure (FILE, LINE 行)"
Error AssertionFailure(std::string_view sourceFile, int line);

// The text of the default error box: the message with "." appended when its
// last byte sorts above "." (so a message already ending in "." or a digit
// keeps its form, and every Japanese message gains one).
std::string ErrorBoxText(std::string_view message);

}  // namespace pomvella
