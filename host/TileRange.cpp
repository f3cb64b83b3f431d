#include "TileRange.h"

#include "HostText.h"

#include <stdexcept>

namespace vhost {

TileRange TileRange::parse(const char* text)
{
    if (text == nullptr)
        throw std::invalid_argument("tile range: no text");
    std::vector<int32_t> numbers;
    std::string token;
    const std::string all(text);
    for (size_t i = 0; i <= all.size(); ++i) {
        if (i == all.size() || all[i] == ',') {
            numbers.push_back(parseInt(token, "tile range " + quoted(all)));
            token.clear();
        } else if (all[i] != ' ') {
            token.push_back(all[i]);
        }
    }
    if (numbers.size() < 2 || numbers.size() % 2 != 0)
        throw std::invalid_argument("tile range " + quoted(all) + " needs pairs of numbers");
    TileRange range{numbers[0], numbers[1], {}};
    for (size_t i = 2; i < numbers.size(); i += 2) {
        if (numbers[i + 1] < numbers[i])
            throw std::invalid_argument("tile range " + quoted(all) +
                                        " holds a run that ends before it starts");
        range.runs.push_back({numbers[i], numbers[i + 1]});
    }
    return range;
}

} // namespace vhost
