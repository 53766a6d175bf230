#pragma once
// A command line from fuzz input: the arguments after the program name,
// separated by NUL bytes (argument 0 is the empty program name).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> FuzzArguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back().push_back(char(data[i]));
    }
    return args;
}
