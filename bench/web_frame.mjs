// Runs the WebAssembly frame benchmark (bench/web_frame.cpp) in headless Chromium at the
// positions given, and prints its lines.
//
//   node bench/web_frame.mjs BENCH_DIR ROW,COL,HEADING,XRAY [...]
//
// BENCH_DIR: build-web/bench (ninja -C build-web web_frame); each position as bench_frame
// reports the desktop's slowest one (row, col, heading counters; XRAY 0 or 1).
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const { chromium } = await import(
    path.join(here, "../tests/web/node_modules/playwright-core/index.mjs"));
const dir = path.resolve(process.argv[2]);
const page = "<!doctype html><script>var Module = { arguments: location.search.slice(1)" +
    ".split(','), print: (t) => console.log(t) };</script><script src='web_frame.js'></script>";
const server = http.createServer((req, res) => {
    const name = new URL(req.url, "http://x").pathname;
    const file = path.join(dir, name);
    if (name === "/") {
        res.writeHead(200, { "Content-Type": "text/html" }).end(page);
    } else if (file.startsWith(dir) && fs.existsSync(file)) {
        res.writeHead(200, { "Content-Type": name.endsWith(".wasm") ? "application/wasm"
            : name.endsWith(".js") ? "text/javascript" : "application/octet-stream" });
        fs.createReadStream(file).pipe(res);
    } else {
        res.writeHead(404).end();
    }
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium",
                                        args: ["--headless", "--no-sandbox", "--disable-gpu"] });
try {
    for (const position of process.argv.slice(3)) {
        const tab = await browser.newPage();
        const done = new Promise((resolve) => tab.on("console", (m) => {
            if (m.text().startsWith("frame") || m.text().startsWith("usage")) {
                resolve(m.text());
            }
        }));
        await tab.goto(`http://127.0.0.1:${server.address().port}/?${position}`);
        console.log(await done);
        await tab.close();
    }
} finally {
    await browser.close();
    server.close();
}
