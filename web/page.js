// The page around the game: the canvas and its shape, the keys, full screen, Web Audio, the
// game folder kept in the browser, and the end of the game. The program (its browser back
// end, services/platform/web) calls the object Muv; nothing here draws or decides for it.
"use strict";

(function () {
    const stage = document.getElementById("stage");
    const canvas = document.getElementById("screen");
    const loading = document.getElementById("loading");
    const ended = document.getElementById("ended");
    const draw = canvas.getContext("2d", { alpha: false });
    const params = new URLSearchParams(location.search);

    // ---- shape: the picture fills the tab at 4:3 (or its own shape), F9 switches ----
    const kAspectKey = "muvesecky.aspect";
    let aspect = localStorage.getItem(kAspectKey) !== "off";

    function layout() {
        const shape = aspect ? 4 / 3 : canvas.width / canvas.height;
        const w = Math.min(stage.clientWidth, stage.clientHeight * shape);
        canvas.style.width = Math.floor(w) + "px";
        canvas.style.height = Math.floor(w / shape) + "px";
    }
    window.addEventListener("resize", layout);
    document.addEventListener("fullscreenchange", layout);

    function toggleAspect() {
        aspect = !aspect;
        localStorage.setItem(kAspectKey, aspect ? "on" : "off");
        layout();
    }

    function toggleFullscreen() {
        if (document.fullscreenElement) {
            document.exitFullscreen().catch(() => {});
        } else if (stage.requestFullscreen) {
            stage.requestFullscreen().catch(() => {});
        }
    }
    document.getElementById("fullscreen").addEventListener("click", (e) => {
        e.currentTarget.blur(); // Space and Enter go to the game, not to the button
        toggleFullscreen();
    });

    // ---- sound: one AudioContext, made at the first key or click ----
    let audio = null;
    let out = null; // everything the game plays goes through here
    let toneEnd = 0;
    const voices = new Map();

    function startAudio() {
        if (typeof AudioContext === "undefined") {
            return;
        }
        if (!audio) {
            try {
                audio = new AudioContext({ sampleRate: 22050 });
            } catch (e) {
                audio = new AudioContext();
            }
            out = audio.createGain();
            out.connect(audio.destination);
        }
        if (audio.state !== "running") {
            audio.resume().catch(() => {});
        }
    }

    function buffer(pcm, frames, channels, rate) {
        const b = audio.createBuffer(channels, frames, rate);
        for (let c = 0; c < channels; ++c) {
            const out = b.getChannelData(c);
            for (let i = 0; i < frames; ++i) {
                out[i] = pcm[i * channels + c] / 32768;
            }
        }
        const source = audio.createBufferSource();
        source.buffer = b;
        source.connect(out);
        return source;
    }

    // ---- events for the program: keys and clicks, taken at its window passes ----
    const events = [];
    let wakeProgram = null; // ends the program's wait for an event, while it waits
    function pushEvent(ev) {
        events.push(ev);
        if (wakeProgram) {
            wakeProgram();
        }
    }
    const fixedClock = /^(\d\d):(\d\d):(\d\d)$/.exec(params.get("clock") || "");

    function modifiers(e) {
        return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0) |
            (e.getModifierState && e.getModifierState("CapsLock") ? 8 : 0) |
            (e.getModifierState && e.getModifierState("NumLock") ? 16 : 0);
    }

    // Keys the browser keeps: reload, its full screen, its tools.
    function browsers(e) {
        return e.code === "F5" || e.code === "F11" || e.code === "F12" ||
            (e.ctrlKey && e.shiftKey && e.code === "KeyI");
    }

    window.addEventListener("keydown", (e) => {
        if (!ended.hidden) {
            return;
        }
        startAudio();
        if (browsers(e)) {
            return;
        }
        e.preventDefault(); // no scrolling, no "save page" on Ctrl+S
        if (e.code === "F9" && !e.repeat) {
            toggleAspect();
        } else if (e.altKey && (e.code === "Enter" || e.code === "NumpadEnter")) {
            if (!e.repeat) {
                toggleFullscreen();
            }
        } else if (e.code !== "F10") {
            pushEvent({ kind: 1, code: e.code, modifiers: modifiers(e) });
        }
    });
    canvas.addEventListener("pointerdown", (e) => {
        startAudio();
        const r = canvas.getBoundingClientRect();
        pushEvent({
            kind: 2,
            x: Math.floor((e.clientX - r.left) * canvas.width / r.width),
            y: Math.floor((e.clientY - r.top) * canvas.height / r.height),
        });
    });
    document.getElementById("again").addEventListener("click", () => location.reload());

    window.Muv = {
        // The clock the address fixes for a test ("?clock=HH:MM:SS"), -1 for the computer's.
        fixedClockMs: fixedClock
            ? ((+fixedClock[1] * 60 + +fixedClock[2]) * 60 + +fixedClock[3]) * 1000 : -1,
        stopAtPass: +(params.get("stopAtPass") || 0),
        // What a test reads: the events as the program took them, and the pass it is held at.
        taken: [],
        heldAt: 0,
        firstPictureMs: 0,
        played: { tones: 0, pieces: 0 },
        // With a fixed clock: every tone and music file the game started, one line each
        // ("tone MS FRAMES SUM", "file MS NAME sample|stream 1|0"), MS in thousandths.
        sounds: [],
        noteTone(ms, pcm) {
            let sum = 0;
            for (let i = 0; i < pcm.length; ++i) {
                sum = (Math.imul(sum, 31) + (pcm[i] & 0xffff)) >>> 0;
            }
            this.sounds.push(`tone ${Math.round(ms * 1000)} ${pcm.length / 2} ${sum}`);
        },
        noteFile(ms, name, sample, started) {
            this.sounds.push(`file ${Math.round(ms * 1000)} ${name} ` +
                             `${sample ? "sample" : "stream"} ${started}`);
        },

        present(rgba, w, h, x, y, rw, rh) {
            if (canvas.width !== w || canvas.height !== h) {
                canvas.width = w;
                canvas.height = h;
                layout();
            }
            draw.putImageData(new ImageData(rgba, w, h), 0, 0, x, y, rw, rh);
            if (!this.firstPictureMs) {
                this.firstPictureMs = performance.now();
                loading.hidden = true;
            }
        },
        takeEvent(pass) {
            const ev = events.shift();
            if (ev && fixedClock) {
                this.taken.push(Object.assign({ pass: pass }, ev));
            }
            return ev;
        },
        eventWaiting: () => events.length > 0,
        // The idle program sleeps here: up to ms, or until the next key or click.
        waitForEvent(ms) {
            return new Promise((resolve) => {
                const timer = setTimeout(() => {
                    wakeProgram = null;
                    resolve();
                }, ms);
                wakeProgram = () => {
                    clearTimeout(timer);
                    wakeProgram = null;
                    resolve();
                };
            });
        },
        toggleFullscreen: toggleFullscreen,
        held(pass) {
            this.heldAt = pass;
        },

        // The loudest sample the page plays over the next `ms` (a test listens).
        async listen(ms) {
            if (!out) {
                return 0;
            }
            const ear = audio.createAnalyser();
            ear.fftSize = 2048;
            out.connect(ear);
            const heard = new Float32Array(ear.fftSize);
            let peak = 0;
            for (const end = performance.now() + ms; performance.now() < end;) {
                ear.getFloatTimeDomainData(heard);
                heard.forEach((v) => { peak = Math.max(peak, Math.abs(v)); });
                await new Promise((resolve) => setTimeout(resolve, 20));
            }
            out.disconnect(ear);
            return peak;
        },
        audioExists: () => typeof AudioContext !== "undefined",
        audioRunning: () => audio !== null && audio.state === "running",
        playTone(pcm, frames) {
            const source = buffer(pcm, frames, 2, 22050);
            const now = audio.currentTime;
            // Tone after tone without a gap, unless the sound has fallen behind the game.
            const at = toneEnd > now && toneEnd - now < 0.1 ? toneEnd : now;
            source.start(at);
            toneEnd = at + frames / 22050;
            ++this.played.tones;
        },
        voiceAhead(id) {
            const v = voices.get(id);
            return v ? v.next - audio.currentTime : 0;
        },
        voiceFeed(id, pcm, frames, channels, rate) {
            let v = voices.get(id);
            if (!v) {
                v = { next: audio.currentTime + 0.02, sources: new Set() };
                voices.set(id, v);
            }
            const source = buffer(pcm, frames, channels, rate);
            const at = Math.max(v.next, audio.currentTime);
            source.start(at);
            v.next = at + frames / rate;
            v.sources.add(source);
            source.onended = () => {
                v.sources.delete(source);
                if (v.sources.size === 0 && voices.get(id) === v) {
                    voices.delete(id); // played out: a late piece starts it afresh
                }
            };
            ++this.played.pieces;
        },
        voiceStop(id) {
            const v = voices.get(id);
            if (v) {
                v.sources.forEach((s) => s.stop());
                voices.delete(id);
            }
        },

        // The game folder: the packed pictures and music as read-only copies, and the
        // player's files as the browser kept them (or the shipped ones the first time).
        // Only files the player can write go to the browser's store. False when the store
        // cannot be read: every save will then be refused.
        async prepareFolder(FS, IDBFS, data, game, playerFiles) {
            const everything = IDBFS.getLocalSet;
            IDBFS.getLocalSet = (mount, callback) => everything(mount, (err, set) => {
                if (!err) {
                    for (const path of Object.keys(set.entries)) {
                        const mode = FS.stat(path).mode;
                        if (FS.isFile(mode) && (mode & 0o200) === 0) {
                            delete set.entries[path];
                        }
                    }
                }
                callback(err, set);
            });
            if (typeof indexedDB === "undefined") {
                // A browser without the store: every save is refused, as it should be.
                IDBFS.indexedDB = () => ({
                    open() {
                        throw new Error("this browser keeps no files");
                    },
                });
            }
            FS.mkdir(game);
            FS.mount(IDBFS, {}, game);
            const kept = await new Promise((resolve) => FS.syncfs(true, (err) => resolve(!err)));
            for (const name of FS.readdir(data)) {
                const to = game + "/" + name;
                const player = playerFiles.includes(name);
                if (name === "." || name === ".." || (player && FS.analyzePath(to).exists)) {
                    continue;
                }
                FS.writeFile(to, FS.readFile(data + "/" + name));
                FS.chmod(to, player ? 0o666 : 0o444);
            }
            return kept ? 1 : 0;
        },

        gameOver(code) {
            if (document.fullscreenElement) {
                document.exitFullscreen().catch(() => {});
            }
            canvas.hidden = true;
            loading.hidden = true;
            ended.hidden = false;
            document.getElementById("again").focus();
            this.endedWith = code;
        },
    };

    window.Module = {
        canvas: canvas,
        print: (text) => console.log(text),
        printErr: (text) => console.warn(text),
        onAbort: () => {
            loading.hidden = false;
            loading.textContent = "Il gioco si è fermato per un errore del programma.";
        },
    };
    layout();
})();
