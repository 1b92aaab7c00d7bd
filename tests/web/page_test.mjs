// The game's page in a real browser (headless Chromium): played on a fixed clock from the sound
// choice through level 1 into level 2, saved, and after a reload resumed and left from the
// title, its canvas must hold exactly the picture the headless platform's screen image holds
// after the same keys at the same window passes, at every step, and the game must start the
// same tones (sample for sample) and music files at the same moments. A save the browser
// cannot store at the rename is told and never shown as saved. The player's files
// reach the browser's store and come back at the next visit; F9, Alt+Enter, the end of the
// game and a browser that keeps no files are tried; on the computer's clock a key wakes the
// sleeping game at once; the page logs no error.
//
//   node page_test.mjs SITE_DIR DATA_DIR WEB_REPLAY OUT_DIR
//
// SITE_DIR: the built page (build-web/site); DATA_DIR: the game folder packed with it
// (build-web/gamedata); WEB_REPLAY: the native tool that replays the page's keys headless;
// OUT_DIR: where the pictures of a failed comparison go. MUV_WEB_SCREENSHOT=FILE.png keeps a
// picture of the page in level 2 (the readme's docs/web-page.png).
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

import { chromiumArgs, serveSite } from "./site_server.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const { chromium } = await import(path.join(here, "node_modules/playwright-core/index.mjs"));

const [siteDir, dataDir, replayTool, outDir] = process.argv.slice(2).map((a) => path.resolve(a));
if (process.argv.length !== 6) {
    console.error("usage: node page_test.mjs SITE_DIR DATA_DIR WEB_REPLAY OUT_DIR");
    process.exit(2);
}

// The fixed clock of the held visits. A game is held at a window pass long after its last
// key (passes come every 16 ms of the game's time, which keeps up with the real one).
const kClock = "12:00:00";

const failures = [];
function check(ok, what) {
    console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
    if (!ok) {
        failures.push(what);
    }
}

const { server, base } = await serveSite(siteDir);

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "muv-chromium-"));
const context = await chromium.launchPersistentContext(profile, {
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: chromiumArgs,
    viewport: { width: 960, height: 720 },
});

// Loads the page (with `query`) in a fresh tab; console errors are gathered in `errors`, the
// program's own reports (standard error) in `reports`.
async function open(query, errors, reports = [], before = null) {
    const page = await context.newPage();
    if (before) {
        await page.addInitScript(before);
    }
    page.on("console", (m) => {
        (m.type() === "error" ? errors : reports).push(m.text());
    });
    page.on("pageerror", (e) => errors.push(e.message));
    const loadStart = Date.now();
    await page.goto(base + query);
    await page.waitForFunction(() => window.Muv && Muv.firstPictureMs > 0, null,
                               { timeout: 60000 });
    console.log(`     first picture ${Date.now() - loadStart} ms after the page was asked for`);
    return page;
}

async function press(page, keys) {
    for (const [key, pause] of keys) {
        await page.keyboard.press(key);
        await page.waitForTimeout(pause);
    }
}

// The canvas as { w, h, rgb } (rgb: a Buffer of red, green, blue bytes).
async function canvas(page) {
    const shown = await page.evaluate(() => {
        const c = document.getElementById("screen");
        const px = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
        let rgb = "";
        for (let i = 0; i < px.length; i += 4) {
            rgb += String.fromCharCode(px[i], px[i + 1], px[i + 2]);
        }
        return { w: c.width, h: c.height, rgb: btoa(rgb) };
    });
    return { w: shown.w, h: shown.h, rgb: Buffer.from(shown.rgb, "base64") };
}

// The player's files in the browser's store: { name: bytes }.
async function stored(page) {
    const entries = await page.evaluate(() => new Promise((resolve, reject) => {
        const req = indexedDB.open("/game");
        req.onerror = () => reject(new Error("no store"));
        req.onsuccess = () => {
            const store = req.result.transaction("FILE_DATA").objectStore("FILE_DATA");
            const all = store.openCursor();
            const out = {};
            all.onsuccess = () => {
                const c = all.result;
                if (!c) {
                    resolve(out);
                    return;
                }
                if (c.value.contents) {
                    out[c.key.replace("/game/", "")] = Array.from(c.value.contents);
                }
                c.continue();
            };
        };
    }));
    return Object.fromEntries(Object.entries(entries).map(([k, v]) => [k, Buffer.from(v)]));
}

// Plays a held game step by step: at each step the step's keys are pressed while the game
// is held, then it is let go on to `passes` more window passes and held again there. Returns
// the picture of every hold, the first one (the page's own stopAtPass) included.
async function steps(page, list) {
    await page.waitForFunction(() => Muv.heldAt > 0, null, { timeout: 60000 });
    let at = await page.evaluate(() => Muv.heldAt);
    const shots = [{ pass: at, shown: await canvas(page) }];
    for (const [keys, passes] of list) {
        for (const key of keys) {
            await page.keyboard.press(key);
        }
        at += passes;
        await page.evaluate((n) => { Muv.stopAtPass = n; }, at);
        await page.waitForFunction((n) => Muv.heldAt === n, at, { timeout: 60000 });
        shots.push({ pass: at, shown: await canvas(page) });
    }
    return shots;
}

// Compares a held page's pictures (`shots` from steps(); by default the one it is held at),
// and the tones and music files it started, with the headless platform's after the same
// events, the game folder being `data`. A name ending in "!" only asks whether the last
// pictures are the same.
async function compare(page, data, name, shots = null) {
    if (!shots) {
        shots = await steps(page, []);
    }
    const taken = await page.evaluate(() => Muv.taken);
    const heard = await page.evaluate(() => Muv.sounds);
    const eventsFile = path.join(outDir, `${name}-taken.txt`);
    fs.writeFileSync(eventsFile, taken.map((t) => t.kind === 1
        ? `${t.pass} 1 ${t.code} ${t.modifiers}` : `${t.pass} 2 ${t.x} ${t.y}`).join("\n") + "\n");
    const expectedFile = path.join(outDir, `${name}-expected.ppm`);
    const soundsFile = path.join(outDir, `${name}-sounds.txt`);
    execFileSync(replayTool, [data, kClock, shots.map((s) => s.pass).join(","), eventsFile,
                              expectedFile, soundsFile], { stdio: "inherit" });
    let same = true;
    for (const { pass, shown } of shots) {
        const file = shots.length > 1 ? expectedFile.replace(/\.ppm$/, `-${pass}.ppm`) : expectedFile;
        const ppm = fs.readFileSync(file);
        const header = /^P6\n(\d+) (\d+)\n255\n/.exec(ppm.subarray(0, 32).toString("latin1"));
        const expected = ppm.subarray(header[0].length);
        let differ = shown.w === +header[1] && shown.h === +header[2] ? 0 : -1;
        for (let i = 0; differ >= 0 && i < expected.length; i += 3) {
            differ += shown.rgb[i] !== expected[i] || shown.rgb[i + 1] !== expected[i + 1] ||
                shown.rgb[i + 2] !== expected[i + 2] ? 1 : 0;
        }
        same = differ === 0;
        if (name.endsWith("!")) {
            continue;
        }
        check(same, `${name}, pass ${pass}: the canvas (${shown.w} x ${shown.h}) holds the ` +
              `headless picture (${header[1]} x ${header[2]}) pixel for pixel (${differ} differ)`);
        if (!same) {
            fs.writeFileSync(path.join(outDir, `${name}-${pass}-got.ppm`), Buffer.concat(
                [Buffer.from(`P6\n${shown.w} ${shown.h}\n255\n`), shown.rgb]));
        }
    }
    const last = shots[shots.length - 1].shown;
    if (name.endsWith("!")) {
        return { taken, shown: last, same };
    }

    const wanted = fs.readFileSync(soundsFile, "utf8").split("\n").filter(Boolean);
    for (const kind of ["tone", "file"]) {
        const a = heard.filter((l) => l.startsWith(kind));
        const b = wanted.filter((l) => l.startsWith(kind));
        const alike = a.length === b.length && a.every((l, i) => l === b[i]);
        check(alike, `${name}: the same ${kind}s started at the same moments (${a.length}, ` +
              `headless ${b.length})`);
        if (!alike) {
            fs.writeFileSync(path.join(outDir, `${name}-${kind}s-got.txt`), a.join("\n") + "\n");
        }
    }
    return { taken, shown: last };
}

// A copy of the shipped game folder with the player's `files` from the browser's store.
function folderWith(files) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "muv-kept-"));
    fs.cpSync(dataDir, folder, { recursive: true });
    for (const [name, bytes] of Object.entries(files)) {
        fs.writeFileSync(path.join(folder, name), bytes);
    }
    return folder;
}

// A walk of tools/maze_route.py ("HHK...") as steps of the arrow keys, `chunk` moves a step.
function walk(moves, chunk, passes) {
    const arrows = { H: "ArrowUp", K: "ArrowLeft", M: "ArrowRight" };
    const out = [];
    for (let i = 0; i < moves.length; i += chunk) {
        out.push([[...moves.slice(i, i + chunk)].map((m) => arrows[m]), passes]);
    }
    return out;
}

// The walk of tools/maze_route.py 1 to the exit, and on into level 2.
const level1 = "HHHHHHHKHHHHHKHHMHHMHHKKHHKHHHMHHHHMHHMHHKHH";
const level1Walk = [...walk(level1.slice(0, -1), 8, 80), [["ArrowUp"], 260]];

fs.mkdirSync(outDir, { recursive: true });
const errors = [];
try {
    // 1. From the sound choice (the sound card) through level 1 into level 2 along its
    // shortest walk, a few steps there and a save; every step compared.
    console.log("1. through level 1 into level 2");
    const level2 = "HHKHMHHKHMHH"; // the start of tools/maze_route.py 2
    const route = [
        [["ArrowDown", "Enter"], 40], [["Space"], 40], ...level1Walk, ...walk(level2, 6, 60),
        [["Control+s"], 200],
    ];
    const first = await open(`?clock=${kClock}&stopAtPass=30`, errors);
    check(await first.title() === "Untitled", "the page's title is \"Untitled\"");
    const shots = await steps(first, route.slice(0, 1));
    // The opening music of the sound card, out of Web Audio.
    const musicPeak = await first.evaluate(() => Muv.listen(400));
    shots.push(...(await steps(first, route.slice(1))).slice(1));
    const { taken } = await compare(first, dataDir, "route", shots);
    if (process.env.MUV_WEB_SCREENSHOT) {
        // The readme's picture of the page (docs/web-page.png): level 2 after the save.
        await first.screenshot({ path: process.env.MUV_WEB_SCREENSHOT });
    }
    check(musicPeak > 0.01, `the music sounds (peak ${musicPeak.toFixed(3)})`);
    const heard = await first.evaluate(() => Muv.sounds.join(" "));
    check(/stream[^]*Level-new\.ogg/.test(heard),
          "the walk met the next level's music, then the save's");
    const pressed = route.reduce((n, [keys]) =>
        n + keys.reduce((k, key) => k + key.split("+").length, 0), 0); // Ctrl too
    check(taken.length === pressed, `the game took all ${pressed} keys (${taken.length})`);
    check(taken.every((t) => t.pass > 1), "no key came before the first window pass");
    const scroll = await first.evaluate(() => [window.scrollX, window.scrollY]);
    check(scroll[0] === 0 && scroll[1] === 0, "arrows and Space do not scroll the page");
    const shape = await first.evaluate(() => {
        const r = document.getElementById("screen").getBoundingClientRect();
        return r.width / r.height;
    });
    check(Math.abs(shape - 4 / 3) < 0.01, `the picture is shown at 4:3 (${shape.toFixed(3)})`);
    const played = await first.evaluate(() => Muv.played);
    check(played.tones + played.pieces > 0,
          `the page played the game's sound (${played.tones} tones, ${played.pieces} pieces of music)`);
    const files = await stored(first);
    check("sound.cop" in files && "LEVEL.MGS" in files,
          `"sound.cop" and "LEVEL.MGS" are in the browser's store (${Object.keys(files)})`);
    check(!Object.keys(files).some((k) => /\.(grh|ogg)$/.test(k)), "no picture or music is stored");

    // 2. The page reloaded finds the player's files: its sound choice is the stored one, L in
    // the level menu resumes level 2, and FINE on the title leaves.
    console.log("2. reloaded: level 2 resumed, then leaving from the title");
    const kept = folderWith(files);
    await first.goto(base + `?clock=${kClock}&stopAtPass=30`);
    const back = await steps(first, [
        [["Enter"], 40], [["Space"], 40], [["KeyL"], 60], [["ArrowLeft", "ArrowUp"], 40],
        [["KeyX"], 40], [["ArrowLeft"], 20], [["Space"], 40],
    ]);
    await compare(first, kept, "reload", back);
    fs.rmSync(kept, { recursive: true, force: true });
    execFileSync(replayTool, [dataDir, kClock, String(back[0].pass),
                              path.join(outDir, "reload-taken.txt"),
                              path.join(outDir, "fresh-expected.ppm")]);
    const fresh = fs.readFileSync(path.join(outDir, "fresh-expected.ppm"));
    check(!fresh.subarray(fresh.length - back[0].shown.rgb.length).equals(back[0].shown.rgb),
          "the stored sound choice shows, not the shipped one");
    // FINE's music plays out, then any key ends the game.
    await first.evaluate(() => { Muv.stopAtPass = 0; });
    for (let i = 0; i < 40 && await first.evaluate(() => Muv.endedWith === undefined); ++i) {
        await first.keyboard.press("Space");
        await first.waitForTimeout(250);
    }
    check(await first.evaluate(() => Muv.endedWith === 0), "then a key ends the game (status 0)");
    await first.close();

    // 3. The PC speaker: its tones, sample for sample, at the moments the headless ones start.
    console.log("3. the PC speaker");
    const speaker = await open(`?clock=${kClock}&stopAtPass=300`, errors);
    const speakerFolder = folderWith(await stored(speaker));
    await press(speaker, [["ArrowUp", 300], ["Enter", 100]]);
    const tonePeak = await speaker.evaluate(() => Muv.listen(900)); // the title's tune
    await press(speaker, [["Space", 300]]);
    await compare(speaker, speakerFolder, "speaker");
    fs.rmSync(speakerFolder, { recursive: true, force: true });
    check(tonePeak > 0.01, `the PC speaker's tones sound (peak ${tonePeak.toFixed(3)})`);
    await speaker.close();

    // 4. Leaving: Escape, "Press any key to continue", then the page says the game has ended
    // and starts it again on request.
    console.log("4. the end");
    const third = await open("", errors);
    const shapeOf = () => third.evaluate(() => {
        const c = document.getElementById("screen");
        const r = c.getBoundingClientRect();
        return [r.width / r.height, c.width / c.height];
    });
    await press(third, [["F9", 300]]);
    let [shown, own] = await shapeOf();
    check(Math.abs(shown - own) < 0.01, `F9: the picture in its own shape (${shown.toFixed(3)})`);
    await third.reload();
    await third.waitForFunction(() => window.Muv && Muv.firstPictureMs > 0);
    [shown, own] = await shapeOf();
    check(Math.abs(shown - own) < 0.01, `and so it stays at the next visit (${shown.toFixed(3)})`);
    await press(third, [["F9", 300], ["Alt+Enter", 500]]);
    [shown] = await shapeOf();
    check(Math.abs(shown - 4 / 3) < 0.01, `F9 again: 4:3 (${shown.toFixed(3)})`);
    check(await third.evaluate(() => document.fullscreenElement !== null),
          "Alt+Enter asks for full screen");
    await press(third, [["Alt+Enter", 500]]);
    check(await third.evaluate(() => document.fullscreenElement === null),
          "and Alt+Enter again leaves it");
    await press(third, [["Escape", 800], ["Space", 800]]);
    const end = await third.evaluate(() => ({
        shown: !document.getElementById("ended").hidden,
        text: document.getElementById("ended").innerText,
    }));
    check(end.shown && /terminato/.test(end.text), `the page says the game has ended ("${end.text}")`);
    await third.click("#again");
    await third.waitForFunction(() => window.Muv && Muv.firstPictureMs > 0, null,
                                { timeout: 60000 });
    check(await third.evaluate(() => document.getElementById("ended").hidden),
          "\"again\" starts the game afresh");
    await third.close();

    // 5. A browser that keeps no files: the sound choice cannot be stored, and the game says
    // so over the picture instead of going on as if it were.
    console.log("5. a browser that keeps no files");
    const reports = [];
    const fourth = await open(`?clock=${kClock}&stopAtPass=200`, errors, reports,
        () => Object.defineProperty(window, "indexedDB", { value: undefined }));
    await press(fourth, [["Enter", 100]]);
    const refused = await compare(fourth, dataDir, "unstored!");
    check(reports.some((r) => /sound\.cop: I\/O error/.test(r)),
          `the refused save is reported (${JSON.stringify(reports)})`);
    check(!refused.same, "the game does not go on to the title as after a kept save");
    await fourth.close();

    // 6. The browser's store fails just when the renamed save is stored: the game says so as
    // on the desktop, and the level kept is the old one.
    console.log("6. the store fails at the save's rename");
    const failing = [];
    const fifth = await open(`?clock=${kClock}&stopAtPass=30`, errors, failing);
    const before = await stored(fifth);
    // A new game through level 1: level 2 may be saved.
    await steps(fifth, [[["Enter"], 40], [["Space"], 40], [["KeyN"], 60], ...level1Walk]);
    await fifth.evaluate(() => {
        const store = IDBFS.syncfs;
        let n = 0; // the new file's store goes through, the one after the rename fails
        IDBFS.syncfs = (mount, populate, done) =>
            (++n === 2 ? done(new Error("the disk is full")) : store(mount, populate, done));
    });
    const saving = await steps(fifth, [[["Control+s"], 200]]);
    const earlier = folderWith(before);
    const refusal = await compare(fifth, earlier, "rename!", saving);
    fs.rmSync(earlier, { recursive: true, force: true });
    check(failing.some((r) => /LEVEL\.MGS: I\/O error/.test(r)),
          `the failed save is reported (${JSON.stringify(failing)})`);
    check(!refusal.same, "the game does not go on as after a kept save");
    const after = await stored(fifth);
    check(after["LEVEL.MGS"].equals(before["LEVEL.MGS"]), "the level kept in the store is the old one");
    await fifth.close();

    // 6. On the computer's clock the idle game sleeps until the next second while nothing
    // changes on its own (facing away from the birds): a key must end that sleep at once.
    console.log("6. a key wakes the sleeping game");
    const sixth = await open("", errors);
    await press(sixth, [["Enter", 1500], ["Space", 1500], ["KeyN", 2500], ["ArrowLeft", 1500]]);
    await sixth.evaluate(() => {
        window.keysAt = [];
        window.shownAt = [];
        window.addEventListener("keydown", (e) => keysAt.push(e.timeStamp), true);
        const present = Muv.present;
        Muv.present = function (...a) {
            shownAt.push(performance.now());
            return present.apply(this, a);
        };
    });
    await press(sixth, [...Array(9)].map((_, i) => [i % 2 ? "ArrowRight" : "ArrowLeft", 700]));
    const waits = await sixth.evaluate(() => keysAt.map((k) =>
        (shownAt.find((s) => s >= k) ?? Infinity) - k).sort((a, b) => a - b));
    check(waits[4] < 250, `a turn shows at once, not at the next second (median of 9: ` +
                          `${waits[4].toFixed(1)} ms)`);
    await sixth.close();
    check(errors.length === 0, `no errors on the page's console ${JSON.stringify(errors)}`);
} finally {
    await context.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
}

console.log(`${failures.length === 0 ? 1 : 0} passed, ${failures.length === 0 ? 0 : 1} failed`);
process.exit(failures.length === 0 ? 0 : 1);
