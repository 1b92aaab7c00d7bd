// The game's page in a real browser (headless Chromium): played from the sound choice into
// level 1 on a fixed clock, its canvas must hold exactly the picture the headless platform's
// screen image holds after the same keys at the same window passes; the page logs no error,
// and the player's files reach the browser's store.
//
//   node page_test.mjs SITE_DIR DATA_DIR WEB_REPLAY OUT_DIR
//
// SITE_DIR: the built page (build-web/site); DATA_DIR: the game folder packed with it
// (build-web/gamedata); WEB_REPLAY: the native tool that replays the page's keys headless;
// OUT_DIR: where the pictures of a failed comparison go.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const { chromium } = await import(path.join(here, "node_modules/playwright-core/index.mjs"));

const [siteDir, dataDir, replayTool, outDir] = process.argv.slice(2).map((a) => path.resolve(a));
if (process.argv.length !== 6) {
    console.error("usage: node page_test.mjs SITE_DIR DATA_DIR WEB_REPLAY OUT_DIR");
    process.exit(2);
}

const kClock = "12:00:00";
// The pass the game is held at: long after the last key (passes come every 16 ms of the
// game's time, which keeps up with the real one).
const kStopAtPass = 1100;
// From the sound choice (PC speaker) through the title into level 1, a few steps, a save.
const kKeys = [
    ["Enter", 1500], ["Space", 2500], ["ArrowUp", 500], ["ArrowUp", 500], ["ArrowLeft", 500],
    ["ArrowUp", 500], ["Control+s", 800], ["Space", 300],
];

const failures = [];
function check(ok, what) {
    console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
    if (!ok) {
        failures.push(what);
    }
}

// ---- a static server for the site, on a free port of this machine only ----
const types = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css",
                ".wasm": "application/wasm", ".data": "application/octet-stream" };
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
const base = `http://127.0.0.1:${server.address().port}/`;

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "muv-chromium-"));
const context = await chromium.launchPersistentContext(profile, {
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--no-first-run"],
    viewport: { width: 960, height: 720 },
});

try {
    const page = context.pages()[0] || await context.newPage();
    const errors = [];
    page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });
    page.on("pageerror", (e) => errors.push(e.message));

    const loadStart = Date.now();
    await page.goto(`${base}?clock=${kClock}&stopAtPass=${kStopAtPass}`);
    await page.waitForFunction(() => window.Muv && Muv.firstPictureMs > 0, null,
                               { timeout: 60000 });
    console.log(`first picture ${Date.now() - loadStart} ms after the page was asked for`);
    check(await page.title() === "Untitled", "the page's title is \"Untitled\"");

    for (const [key, pause] of kKeys) {
        await page.keyboard.press(key);
        await page.waitForTimeout(pause);
    }
    await page.waitForFunction(() => Muv.heldAt > 0, null, { timeout: 120000 });
    const taken = await page.evaluate(() => Muv.taken);
    const pressed = kKeys.reduce((n, [key]) => n + key.split("+").length, 0); // Ctrl too
    check(taken.length === pressed, `the game took all ${pressed} keys (${taken.length})`);
    check(taken.every((t) => t.pass > 1), "no key came before the first window pass");
    const scroll = await page.evaluate(() => [window.scrollX, window.scrollY]);
    check(scroll[0] === 0 && scroll[1] === 0, "arrows and Space do not scroll the page");

    // The canvas, and the headless platform's picture after the same keys.
    const shown = await page.evaluate(() => {
        const c = document.getElementById("screen");
        const px = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
        let rgb = "";
        for (let i = 0; i < px.length; i += 4) {
            rgb += String.fromCharCode(px[i], px[i + 1], px[i + 2]);
        }
        return { w: c.width, h: c.height, rgb: btoa(rgb) };
    });
    fs.mkdirSync(outDir, { recursive: true });
    const eventsFile = path.join(outDir, "taken.txt");
    fs.writeFileSync(eventsFile, taken.map((t) => t.kind === 1
        ? `${t.pass} 1 ${t.code} ${t.modifiers}` : `${t.pass} 2 ${t.x} ${t.y}`).join("\n") + "\n");
    const expectedFile = path.join(outDir, "expected.ppm");
    execFileSync(replayTool, [dataDir, kClock, String(kStopAtPass), eventsFile, expectedFile],
                 { stdio: "inherit" });
    const ppm = fs.readFileSync(expectedFile);
    const header = /^P6\n(\d+) (\d+)\n255\n/.exec(ppm.subarray(0, 32).toString("latin1"));
    const expected = ppm.subarray(header[0].length);
    const got = Buffer.from(shown.rgb, "base64");
    check(shown.w === +header[1] && shown.h === +header[2],
          `the canvas is the screen image's size, ${header[1]} x ${header[2]} (${shown.w} x ${shown.h})`);
    let differ = 0;
    for (let i = 0; i < Math.min(got.length, expected.length); i += 3) {
        differ += got[i] !== expected[i] || got[i + 1] !== expected[i + 1] ||
            got[i + 2] !== expected[i + 2] ? 1 : 0;
    }
    check(differ === 0 && got.length === expected.length,
          `the canvas holds the headless picture pixel for pixel (${differ} pixels differ)`);
    if (differ !== 0) {
        fs.writeFileSync(path.join(outDir, "got.ppm"),
                         Buffer.concat([Buffer.from(`P6\n${shown.w} ${shown.h}\n255\n`), got]));
    }
    const shape = await page.evaluate(() => {
        const r = document.getElementById("screen").getBoundingClientRect();
        return r.width / r.height;
    });
    check(Math.abs(shape - 4 / 3) < 0.01, `the picture is shown at 4:3 (${shape.toFixed(3)})`);

    // The player's files in the browser's store: the sound choice and the saved level, and
    // none of the packed pictures and music.
    const stored = await page.evaluate(() => new Promise((resolve, reject) => {
        const req = indexedDB.open("/game");
        req.onerror = () => reject(new Error("no store"));
        req.onsuccess = () => {
            const all = req.result.transaction("FILE_DATA").objectStore("FILE_DATA").getAllKeys();
            all.onsuccess = () => resolve(all.result);
        };
    }));
    check(stored.includes("/game/sound.cop") && stored.includes("/game/LEVEL.MGS"),
          `"sound.cop" and "LEVEL.MGS" are in the browser's store (${stored.join(", ")})`);
    check(!stored.some((k) => /\.(grh|ogg)$/.test(k)), "no picture or music is stored");
    check(errors.length === 0, `no errors on the page's console ${JSON.stringify(errors)}`);
} finally {
    await context.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
}

console.log(`${failures.length === 0 ? 1 : 0} passed, ${failures.length === 0 ? 0 : 1} failed`);
process.exit(failures.length === 0 ? 0 : 1);
