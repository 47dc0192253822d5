// Runs in every frame of the station page, in a script world of its own (the page's
// scripts neither see nor change it). It reports what the page's media elements do to
// the program, which answers with a delay after which an element whose stream went away
// is started again from its own source, or -1 to leave it (and drop a restart to come).
// An element that plays and is never paused, ended or failed is never reported: the first
// message makes the program set up a script engine of its own (some megabytes), which a
// station that plays on undisturbed does not need. Its playing is told with its first
// trouble instead, and every playing after that as it comes.
(() => {
    const handlers = window.webkit && window.webkit.messageHandlers;
    const channel = handlers && handlers.zaviradioMedia;
    if (!channel) {
        return;
    }
    const frame = Math.random().toString(36).slice(2);
    const names = new WeakMap();
    const restarts = new WeakMap();
    const played = new WeakSet();  // heard playing, not yet reported
    const reported = new WeakSet();  // the program knows it
    let count = 0;

    function nameOf(media) {
        let name = names.get(media);
        if (name === undefined) {
            name = `${frame}:${++count}`;
            names.set(media, name);
        }
        return name;
    }

    function restart(media) {
        restarts.delete(media);
        media.load();  // the same source again: src, or the <source> children
        const started = media.play();
        if (started) {
            started.catch(() => {});  // a failure arrives as an error event
        }
    }

    async function report(media, event) {
        if (!reported.has(media)) {
            if (event === "playing") {
                played.add(media);
                return;
            }
            if (!played.has(media)) {
                return;  // never heard playing: the program would leave it alone
            }
            reported.add(media);
            played.delete(media);
            try {
                await channel.postMessage({element: nameOf(media), event: "playing"});
            } catch (e) {
                return;
            }
        }
        let delay = -1;
        try {
            delay = await channel.postMessage({element: nameOf(media), event});
        } catch (e) {
            return;
        }
        clearTimeout(restarts.get(media));
        restarts.delete(media);
        if (typeof delay === "number" && delay >= 0) {
            restarts.set(media, setTimeout(() => restart(media), delay));
        }
    }

    // Media events do not bubble, but they pass the window on their way down.
    const listen = (type, event) => window.addEventListener(type, (e) => {
        const target = e.target;
        // The errors of an element's <source> children go to them; it has failed only
        // when the last of them has.
        const source = target instanceof HTMLSourceElement;
        const media = source ? target.parentElement : target;
        if (!(media instanceof HTMLMediaElement) ||
            (source && media.networkState !== HTMLMediaElement.NETWORK_NO_SOURCE)) {
            return;
        }
        const name = event(media);
        if (name) {
            report(media, name);
        }
    }, true);
    listen("playing", () => "playing");
    // The end of a stream pauses the element too, with ended set; and a pause event that
    // arrives after the element was started again (a restart's load) is old news.
    listen("pause", (media) => (media.paused && !media.ended ? "pause" : null));
    listen("ended", () => "ended");
    listen("error", () => "error");
})();
