#include "base/Error.h"

namespace pomvella {

std::string PathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

Error FileOpenError(const std::filesystem::path& path)
{
    return Error("ﾌｧｲﾙ " + PathText(path) + " は開けません");
}

Error FileCreateError(const std::filesystem::path& path)
{
    return Error("ﾌｧｲﾙ " + PathText(path) + " を作成できません");
}

Error ReadError() { return Error("ｽﾄﾘｰﾑからの読み込みｴﾗｰ"); }

Error WriteError() { return Error("ｽﾄﾘｰﾑへの書き込みｴﾗｰ"); }

Error MemoryStreamFullError() { return Error("ﾒﾓﾘｽﾄﾘｰﾑの拡大中にﾒﾓﾘが足りなくなりました"); }

Error InvalidBitmapError() { return Error("ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です"); }

Error AssertionFailure(std::string_view sourceFile, int line)
{
    return Error("Assertion failure (" + std::string(sourceFile) + ", " + std::to_string(line) + " 行)");
}

std::string ErrorBoxText(std::string_view message)
{
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

}  // namespace pomvella
