// A sample image search service on 127.0.0.1 for the demo and the benchmarks: any query gets
// results pages in the classic markup (three anchors per result: the image, its page, its
// site), or in today's (an "iusc" anchor whose m attribute holds the addresses as JSON),
// whose images are real JPEG files served by the same service. Prints its base address on the
// first line of its output, then serves until it is ended.
//
//   sample-service [--pages N] [--per-page N] [--image-kb N] [--images N] [--image-ms N]
//                  [--latency-ms N] [--markup classic|today] [--requests FILE]
//                  [--after-end empty|repeat] [--tls DIR]
//     --pages     pages with results for each query (default 10); later pages come empty, or
//                 with --after-end repeat as the real service answers them: the last page again
//     --tls       serves HTTPS with the certificate DIR/server.pem (tests/support/test-ca.sh)
//     --per-page  results on each page (default 28)
//     --image-kb  size of each JPEG, about (default 50; 0: whatever quality 85 gives)
//     --image-size  WxH of each landscape JPEG, every third one turned upright (default 320x240)
//     --images    distinct pictures served in turn (default 8)
//     --image-ms  each image is answered after this many milliseconds (default 0), so that a
//                 search lasts long enough to be stopped
//     --latency-ms  each image response waits this long before its first byte (default 0), as
//                 a distant server would; results pages are answered at once. Every response
//                 still closes its connection, so each image pays it in full
//     --markup    the results pages' markup (default classic)
//     --requests  appends the request line of every results page asked for to FILE, as it
//                 arrives (the black-box tests read what the program sent)
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "samplejpeg.h"
#include "support/http_server.h"

using testsupport::Request;
using testsupport::Response;

namespace {

struct Options {
    int pages = 10, perPage = 28, imageKb = 50, images = 8, imageMs = 0, latencyMs = 0;
    int imageWidth = 320, imageHeight = 240;
    bool today = false;
    bool repeatLast = false;
    std::string requests;  // the file of request lines, or none
    std::string tls;       // the test authority's folder, or none
};

std::string QueryValue(const std::string& target, const std::string& key) {
    size_t q = target.find('?');
    if (q == std::string::npos) return {};
    std::string query = "&" + target.substr(q + 1);
    size_t at = query.find("&" + key + "=");
    if (at == std::string::npos) return {};
    at += key.size() + 2;
    return query.substr(at, query.find('&', at) - at);
}

// The query as a path segment: letters and digits, the escapes of non-ASCII characters (the
// bytes of their UTF-8) as sent, every other run of characters a "-".
std::string Slug(const std::string& q) {
    std::string out;
    for (size_t i = 0; i < q.size(); i++) {
        char c = q[i];
        bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (c == '%' && i + 2 < q.size() && std::isxdigit(static_cast<unsigned char>(q[i + 2])) && q[i + 1] >= '8' &&
            q[i + 1] <= 'F') {
            out += q.substr(i, 3);
            i += 2;
        } else if (keep) {
            out += c;
        } else if (!out.empty() && out.back() != '-') {
            out += '-';
        }
    }
    return out.empty() ? "all" : out;
}

// Keywords in another script name the images too ("%E7%8C%AB-1.jpg"), so their files are named
// in that script; ASCII keywords keep the plain numbers.
std::string ImageName(const std::string& slug, int id) {
    return (slug.find('%') == std::string::npos ? "" : slug + "-") + std::to_string(id) + ".jpg";
}

// Results pages are asked for at first = 1, 57, 85, ...: page 0, 1, 2, ...
int PageNumber(int first) { return first <= 1 ? 0 : (first - 29) / 28; }
int FirstOfPage(int page) { return page == 0 ? 1 : 29 + 28 * page; }

// One result in today's markup; the page address already holds "&amp;".
std::string TodaysResult(const std::string& image, const std::string& page, const std::string& title,
                         const std::string& base) {
    auto q = [](const std::string& v) { return "&quot;" + v + "&quot;"; };
    std::string m = "{" + q("cid") + ":" + q(title.substr(title.rfind(' ') + 1)) + "," + q("purl") + ":" + q(page) +
                    "," + q("murl") + ":" + q(image) + "," + q("turl") + ":" + q(image) + "," + q("t") + ":" +
                    q(title) + "}";
    return "<li><div class=\"iuscp\"><div class=\"imgpt\"><a class=\"iusc\" style=\"height:160px\" m=\"" + m +
           "\" href=\"/images/search?view=detailV2&amp;id=1\"><img class=\"mimg\" src=\"" + image +
           "\" width=\"138\"></a></div><div class=\"infopt\"><a class=\"inflnk\" href=\"" + page + "\">" +
           base.substr(base.find("//") + 2) + "</a></div></div></li>\n";
}

std::string ResultsPage(const std::string& base, const std::string& q, int first, const Options& o) {
    std::string slug = Slug(q);
    std::string html = "<!DOCTYPE html><html><head><title>" + slug +
                       " - Images</title></head><body>\n"
                       "<div id=\"b_header\"><a href=\"/\">Images</a> <a href=\"/help\">Help</a></div>\n"
                       "<div id=\"b_SearchBoxAnswer\"></div>\n<div id=\"mmComponent\">\n";
    if (o.repeatLast && o.pages > 0 && PageNumber(first) >= o.pages) first = FirstOfPage(o.pages - 1);
    if (PageNumber(first) < o.pages) {
        for (int i = 0; i < o.perPage; i++) {
            int id = first + i;
            std::string image = base + "/img/" + slug + "/" + ImageName(slug, id);
            std::string page =
                base + "/page/" + slug + "/" + std::to_string(id) + ".html?from=search&amp;n=" + std::to_string(id);
            if (o.today) {
                html += TodaysResult(image, page, slug + " picture " + std::to_string(id), base);
                continue;
            }
            html += "<div class=\"iuscp\"><a class=\"thumb\" href=\"" + image + "\" h=\"ID=images," +
                    std::to_string(id) + ".1\"><img src=\"" + image + "\" width=\"138\"></a>" +
                    "<div class=\"meta\"><a class=\"tit\" href=\"" + page + "\" h=\"ID=images," + std::to_string(id) +
                    ".2\">" + slug + " picture " + std::to_string(id) + "</a>" + "<a class=\"site\" href=\"" + base +
                    "/\">127.0.0.1</a></div></div>\n";
        }
    }
    return html + "</div></body></html>\n";
}

void Stop(int) { _exit(0); }

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        if (key == "--requests") {
            o.requests = argv[i + 1];
            continue;
        }
        if (key == "--tls") {
            o.tls = argv[i + 1];
            continue;
        }
        if (key == "--after-end" &&
            (std::strcmp(argv[i + 1], "empty") == 0 || std::strcmp(argv[i + 1], "repeat") == 0)) {
            o.repeatLast = std::strcmp(argv[i + 1], "repeat") == 0;
            continue;
        }
        if (key == "--image-size" && std::sscanf(argv[i + 1], "%dx%d", &o.imageWidth, &o.imageHeight) == 2 &&
            o.imageWidth > 0 && o.imageHeight > 0)
            continue;
        if (key == "--markup" && (std::strcmp(argv[i + 1], "classic") == 0 || std::strcmp(argv[i + 1], "today") == 0)) {
            o.today = std::strcmp(argv[i + 1], "today") == 0;
            continue;
        }
        int value = std::atoi(argv[i + 1]);
        if (key == "--pages")
            o.pages = value;
        else if (key == "--per-page")
            o.perPage = value;
        else if (key == "--image-kb")
            o.imageKb = value;
        else if (key == "--images")
            o.images = value;
        else if (key == "--image-ms")
            o.imageMs = value;
        else if (key == "--latency-ms")
            o.latencyMs = value;
        else {
            std::cerr << "usage: sample-service [--pages N] [--per-page N] [--image-kb N] [--images N] "
                         "[--image-size WxH] [--image-ms N] [--latency-ms N] [--markup classic|today] "
                         "[--requests FILE] [--after-end empty|repeat] [--tls DIR]\n";
            return 2;
        }
    }
    if (o.images < 1) o.images = 1;
    std::vector<std::string> jpegs;
    for (int i = 0; i < o.images; i++) {
        bool portrait = i % 3 == 2;
        jpegs.push_back(sample::MakeJpeg(portrait ? o.imageHeight : o.imageWidth,
                                         portrait ? o.imageWidth : o.imageHeight, 1234u + i,
                                         static_cast<size_t>(o.imageKb) * 1024));
    }

    testsupport::HttpServer server(o.tls.empty() ? testsupport::TlsIdentity{}
                                                 : testsupport::LoadTlsIdentity(o.tls, "server"));
    const std::string base = server.base();
    std::mutex logMutex;
    server.fallback([&](const Request& req) {
        const std::string path = req.path();
        if (path == "/images/search" && !o.requests.empty()) {
            std::lock_guard<std::mutex> lock(logMutex);
            std::ofstream(o.requests, std::ios::app) << req.method << ' ' << req.target << ' ' << req.version << '\n';
        }
        if (path == "/images/search")
            return Response::text(
                ResultsPage(base, QueryValue(req.target, "q"), std::atoi(QueryValue(req.target, "first").c_str()), o));
        if (path.rfind("/img/", 0) == 0) {
            int id = std::atoi(path.substr(path.find_last_of("/-") + 1).c_str());
            if (o.imageMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(o.imageMs));
            Response r = Response::file(jpegs[static_cast<size_t>(id) % jpegs.size()], "image/jpeg");
            r.delay_ms = o.latencyMs;  // waited on the connection's own thread, before the head
            return r;
        }
        if (path.rfind("/page/", 0) == 0) return Response::text("<html><body><h1>" + path + "</h1></body></html>\n");
        return Response::text(
            "<html><body><a href=\"/images/search?q=sample&first=1\">sample search</a></body></html>\n");
    });
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    std::cout << base << std::endl;
    for (;;) pause();
}
