// What the page's test and its bench share: a static server for the built site on a free port
// of this machine only, and the flags headless Chromium runs with here.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";

const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css",
                ".wasm": "application/wasm", ".data": "application/octet-stream" };

// Serves siteDir; gives the server (to close) and the address of its index page.
export async function serveSite(siteDir) {
    const server = http.createServer((req, res) => {
        const name = decodeURIComponent(new URL(req.url, "http://x").pathname);
        const file = path.join(siteDir, name === "/" ? "index.html" : name);
        if (!file.startsWith(siteDir) || !fs.existsSync(file)) {
            res.writeHead(404).end();
            return;
        }
        res.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
        fs.createReadStream(file).pipe(res);
    });
    await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
    return { server, base: `http://127.0.0.1:${server.address().port}/` };
}

export const chromiumArgs = ["--headless", "--no-sandbox", "--disable-gpu",
                             "--disable-background-networking", "--disable-component-update",
                             "--disable-sync", "--no-first-run"];
