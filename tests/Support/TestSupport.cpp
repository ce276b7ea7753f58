#include "Support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

namespace VantorelTest {

std::string DescribeInstance(const std::vector<std::int64_t>& sizes, std::int64_t volume) {
    std::ostringstream s;
    s << "volume " << volume << ", sizes {";
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        s << (i == 0 ? "" : ", ") << sizes[i];
    }
    s << "}";
    return s.str();
}

TCoutCapture::TCoutCapture() : Saved(std::cout.rdbuf(Buffer.rdbuf())) {}

TCoutCapture::~TCoutCapture() {
    std::cout.rdbuf(Saved);
}

std::string MaskTimes(const std::string& output) {
    static const std::regex kTime(std::string("(^|\n)") + kTimeOfDayPattern + " ");
    return std::regex_replace(output, kTime, "$1HH:MM:SS ");
}

int SourceLineOf(const std::string& relativeFile, const std::vector<std::string>& needles) {
    std::ifstream in(std::string(VANTOREL_SOURCE_DIR) + "/" + relativeFile);
    EXPECT_TRUE(in) << "cannot open " << relativeFile;
    if (needles.empty()) {
        ADD_FAILURE() << "no needle";
        return 0;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::size_t at = lines.size();
    int matches = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(needles[0]) != std::string::npos) {
            at = i;
            ++matches;
        }
    }
    EXPECT_EQ(matches, 1) << "'" << needles[0] << "' in " << relativeFile;
    for (std::size_t n = 1; n < needles.size() && at < lines.size(); ++n) {
        do {
            ++at;
        } while (at < lines.size() && lines[at].find(needles[n]) == std::string::npos);
    }
    EXPECT_LT(at, lines.size()) << "statement not found in " << relativeFile;
    return static_cast<int>(at) + 1;
}

const char* const kBannerUtf8 =
    "Vantorel v1.8.1\n"
    "Copyright (C) 2026 The Vantorel developers\n"
    "Программа помогает оптимально заполнить емкость CD, DVD дисков или других\n"
    "носителей при записи данных на них. Она сканирует каталог и вычисляет\n"
    "размер его файлов и вложенных каталогов, после этого находит такую\n"
    "комбинацию файлов и каталогов, при которой они займут максимальный размер,\n"
    "но не больше заданного.\n"
    "\n"
    "Использование:\n"
    "      Vantorel \"<Каталог 1>\" \"[Каталог 2]\" \"[Каталог N]\"\n"
    "                      \"<Желаемый объём>[Tb|Gb|Mb|Kb|b]\"\n"
    "\n"
    "Примечание:\n"
    "      Поскольку в общем виде задача поиска оптимальной комбинации является\n"
    "      экспоненциально сложной, программа выводит частные решения по мере\n"
    "      их нахождения и МОЖЕТ РАБОТАТЬ ОЧЕНЬ ДОЛГО. Если вас уже устраивает\n"
    "      текущее решение, скопируйте его и закройте программу,\n"
    "      нажав CTRL+C или CTRL+BREAK.\n";

}  // namespace VantorelTest
