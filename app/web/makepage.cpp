// Writes the site's index.html from its template: the window as it stands
// once started, so that a slow device shows it before the module is loaded.
//
//   node make-page.js TEMPLATE OUT

#include "app/web/pagemarkup.h"

#include <cstdio>
#include <fstream>
#include <iterator>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-page TEMPLATE OUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string pageTemplate{std::istreambuf_iterator<char>(in), {}};
    if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "make-page: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << pageMarkup(pageTemplate);
    if (!out.flush()) {
        std::fprintf(stderr, "make-page: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
