// The page in headless Chromium, measured: page load to first picture, key press to changed
// canvas, the idle tab's CPU (its page thread, and every process of the browser), and the
// download. Prints one "name: value" line per figure.
//
//   node bench/web_page.mjs SITE_DIR [RUNS]
//
// SITE_DIR: the built page (build-web/site), served here from a local server on this machine;
// RUNS (default 5): fresh browser profiles for the load time. Needs tests/web's playwright-core.
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import { fileURLToPath } from "node:url";

import { chromiumArgs, serveSite } from "../tests/web/site_server.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const { chromium } = await import(
    path.join(here, "../tests/web/node_modules/playwright-core/index.mjs"));
const siteDir = path.resolve(process.argv[2] || "build-web/site");
const runs = +(process.argv[3] || 5);

const { server, base } = await serveSite(siteDir);
const args = chromiumArgs;
// CPU seconds (user + system) of every process this one started, from /proc (Linux): the
// browser's processes, whichever of them paints and composites the page; and of its renderer
// processes alone, the tab's own (its page thread, compositor and raster threads).
function browserCpuSeconds() {
    const rootPid = process.pid;
    const stats = new Map();
    for (const d of fs.readdirSync("/proc")) {
        try {
            const f = fs.readFileSync(`/proc/${d}/stat`, "utf8");
            const v = f.slice(f.lastIndexOf(")") + 2).split(" ");
            const renderer = fs.readFileSync(`/proc/${d}/cmdline`, "utf8")
                .includes("--type=renderer");
            stats.set(+d, { ppid: +v[1], ticks: +v[11] + +v[12], renderer });
        } catch (e) {
            // gone meanwhile, or not a process
        }
    }
    const under = (pid) => stats.has(pid) && (stats.get(pid).ppid === rootPid ||
                                              (pid > 1 && under(stats.get(pid).ppid)));
    let ticks = 0;
    let tab = 0;
    stats.forEach((s, pid) => {
        ticks += under(pid) ? s.ticks : 0;
        tab += under(pid) && s.renderer ? s.ticks : 0;
    });
    return { all: ticks / 100, tab: tab / 100 };
}
const median = (a) => [...a].sort((x, y) => x - y)[Math.floor(a.length / 2)];
const pct = (a, p) => [...a].sort((x, y) => x - y)[Math.min(a.length - 1, Math.floor(a.length * p))];

try {
    // 1. Page load to first picture, each in a fresh profile (nothing cached).
    const loads = [];
    for (let i = 0; i < runs; ++i) {
        const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args });
        const page = await browser.newPage();
        await page.goto(base);
        await page.waitForFunction(() => window.Muv && Muv.firstPictureMs > 0, null,
                                   { timeout: 60000 });
        loads.push(await page.evaluate(() => Muv.firstPictureMs));
        await browser.close();
    }
    console.log(`load to first picture, median of ${runs}: ${median(loads).toFixed(0)} ms ` +
                `(${Math.min(...loads).toFixed(0)} .. ${Math.max(...loads).toFixed(0)})`);

    // 2. Into level 1 on the computer's clock; key press to changed canvas over 60 turns. A
    // turn that meets a wall clock or an X-ray eye, or turns with the X-ray aid on, plays the
    // game's own tones before its picture is complete (the game's pace, not the way from key
    // to canvas): such turns are set apart and counted, and further turns make up the 60.
    const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args });
    const page = await browser.newPage();
    await page.goto(base);
    await page.waitForFunction(() => window.Muv && Muv.firstPictureMs > 0);
    await page.keyboard.press("Enter");
    await page.waitForTimeout(1500);
    await page.keyboard.press("Space");
    await page.waitForTimeout(2500);
    await page.evaluate(() => {
        window.benchKeys = [];
        window.benchShown = [];
        window.benchTones = [];
        window.addEventListener("keydown", (e) => benchKeys.push(e.timeStamp), true);
        for (const [name, times] of [["present", benchShown], ["playTone", benchTones]]) {
            const original = Muv[name];
            Muv[name] = function (...a) {
                times.push(performance.now());
                return original.apply(this, a);
            };
        }
    });
    // Each turn's key to its first picture, or null when a tone of the game's came between.
    const turnTimes = () => page.evaluate(() => benchKeys.map((k) => {
        const shown = benchShown.find((s) => s >= k);
        if (shown === undefined) {
            return 1e9;
        }
        return benchTones.some((t) => t >= k && t <= shown) ? null : shown - k;
    }));
    let turns = [];
    for (let i = 0; i < 180 && turns.filter((t) => t !== null).length < 60; ++i) {
        await page.keyboard.press(i % 2 ? "ArrowRight" : "ArrowLeft");
        await page.waitForTimeout(150 + (i % 7) * 13); // not in step with the window's passes
        turns = await turnTimes();
    }
    const latency = turns.filter((t) => t !== null).slice(0, 60);
    console.log(`key to changed canvas, ${latency.length} turns: median ` +
                `${median(latency).toFixed(1)} ms, p95 ${pct(latency, 0.95).toFixed(1)} ms ` +
                `(${turns.length - turns.filter((t) => t !== null).length} more turns set ` +
                `apart: the game's tones came before their picture)`);

    // 3. The idle tab: 10 s without a key, standing in level 1 as it starts (facing north by
    // day the seagulls fly: the picture changes every pass), then turned round (it does not).
    const cdp = await page.context().newCDPSession(page);
    await cdp.send("Performance.enable");
    const metric = async (name) =>
        (await cdp.send("Performance.getMetrics")).metrics.find((m) => m.name === name).value;
    // The heading the compass box shows, by the colour of its word (row 17, column 6).
    const heading = () => page.evaluate(() => {
        const d = document.getElementById("screen").getContext("2d")
            .getImageData(40, 128, 40, 8).data;
        const words = { "255,255,255": "north", "255,85,85": "west", "85,255,255": "south",
                        "85,255,85": "east" };
        for (let i = 0; i < d.length; i += 4) {
            const word = words[`${d[i]},${d[i + 1]},${d[i + 2]}`];
            if (word) {
                return word;
            }
        }
        return "nowhere in level 1";
    });
    for (const [label, facing] of [["as it starts", "north"], ["turned round", "south"]]) {
        // A key lost to a burst of load must not leave the measure facing the wrong way.
        for (let turns = 0; turns < 4 && (await heading()) !== facing; ++turns) {
            await page.keyboard.press("ArrowLeft");
            await page.waitForTimeout(300);
        }
        await page.waitForTimeout(2000);
        await page.evaluate(() => { benchShown.length = 0; });
        const task0 = await metric("TaskDuration");
        const script0 = await metric("ScriptDuration");
        const cpu0 = browserCpuSeconds();
        const t0 = Date.now();
        await page.waitForTimeout(10000);
        const seconds = (Date.now() - t0) / 1000;
        const cpu1 = browserCpuSeconds();
        const cpu = cpu1.all - cpu0.all;
        const tab = cpu1.tab - cpu0.tab;
        const task = (await metric("TaskDuration")) - task0;
        const script = (await metric("ScriptDuration")) - script0;
        const pictures = await page.evaluate(() => benchShown.length);
        console.log(`idle tab, 10 s in level 1 ${label} (facing ${await heading()}): ` +
                    `page thread busy ` +
                    `${(100 * task / seconds).toFixed(1)} % of a core (script ` +
                    `${(100 * script / seconds).toFixed(1)} %), ` +
                    `${(pictures / seconds).toFixed(0)} pictures a second; the tab's ` +
                    `renderer process ${(100 * tab / seconds).toFixed(1)} %, every process ` +
                    `of the browser ${(100 * cpu / seconds).toFixed(1)} % of a core`);
    }
    await browser.close();

    // 4. The download: every file of the site, as sent and compressed.
    let bytes = 0;
    let gz = 0;
    for (const f of fs.readdirSync(siteDir)) {
        const data = fs.readFileSync(path.join(siteDir, f));
        bytes += data.length;
        gz += zlib.gzipSync(data, { level: 9 }).length;
    }
    console.log(`download: ${(bytes / 1e6).toFixed(2)} MB (${(gz / 1e6).toFixed(2)} MB gzip)`);
} finally {
    server.close();
}
