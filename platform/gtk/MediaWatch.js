// Runs in every frame of the station page, twice: in a script world of the program's own
// for the elements in the page's documents (the page's scripts neither see nor change
// it), and in the page's own world for media the page plays without putting it in a
// document (new Audio(), howler.js, amplitudejs), which only the page's world can reach.
// It reports what the elements do to the program, which answers with a delay after which
// an element whose stream went away, never came or hangs is started again from its own
// source (stopped meanwhile, so that no player shows a loading state for minutes), or -1
// to leave it (and drop a restart to come). The channel's name is the program's secret:
// a page could at most forge reports about its own media. An element that plays and is
// never paused, ended, failed or stuck is never reported: the first message makes the
// program set up a script engine of its own (some megabytes), which a station that plays
// on undisturbed does not need. Its playing is told with its first trouble instead.
((channelName, pageWorld) => {
    const handlers = window.webkit && window.webkit.messageHandlers;
    const channel = handlers && handlers[channelName];
    if (!channel) {
        return;
    }
    // What the page could replace later, taken before its scripts run.
    const post = channel.postMessage.bind(channel);
    const proto = HTMLMediaElement.prototype;
    const {load, play, pause} = proto;
    const listen = EventTarget.prototype.addEventListener;
    const later = setTimeout.bind(window);
    const cancel = clearTimeout.bind(window);
    const every = setInterval.bind(window);
    const now = performance.now.bind(performance);
    const frame = Math.random().toString(36).slice(2);
    const kMostElements = 64;
    // How often positions are looked at, and how long one stands still before the program
    // is told (which decides when that is stuck).
    const kCheckMs = 2500;
    const kStillMs = 5000;
    const watched = new Map();  // element: what is known of it
    let count = 0;
    let checking = false;

    function factsOf(media) {
        let facts = watched.get(media);
        if (facts === undefined && watched.size < kMostElements) {
            facts = {
                name: `${frame}:${++count}`,
                wanted: false,
                played: false,
                reported: false,
                live: true,
                quiet: false,
                resuming: false,
                timer: 0,
                position: -1,
                still: 0,
                told: 0
            };
            watched.set(media, facts);
            if (!checking) {
                checking = true;
                every(checkProgress, kCheckMs);
            }
        }
        return facts;
    }

    // Fed by the page's player library through Media Source Extensions.
    const library = (media) => media.srcObject != null || media.currentSrc.startsWith('blob:');
    // A live stream has no length: WebKit gives it none (Infinity), or 0 for live HLS.
    const live = (media) => !(Number.isFinite(media.duration) && media.duration > 0);

    function stopQuietly(media, facts) {
        if (!media.paused) {
            facts.quiet = true;  // our pause, not the listener's
            pause.call(media);
        }
    }

    function start(media) {
        const started = play.call(media);
        if (started) {
            started.catch(() => {});  // a failure arrives as an error event
        }
    }

    // The same source again (src, or the <source> children), played once the program has
    // seen what it is: an element asked to play before the station answers would sit
    // "playing, waiting", and players animate their loading state for as long as it does.
    // An element that preloads nothing loads only when played.
    function restart(media, facts) {
        facts.timer = 0;
        facts.position = -1;
        facts.resuming = media.preload !== 'none';
        load.call(media);
        if (!facts.resuming) {
            start(media);
        }
    }

    async function send(media, facts, event, idle) {
        const message = {
            element: facts.name,
            event,
            live: event === 'playing' ? facts.live : live(media),
            library: library(media),
            fresh: !facts.played,
            idle: idle || 0
        };
        try {
            return await post(message);
        } catch (e) {
            return null;
        }
    }

    async function report(media, facts, event, idle) {
        if (!facts.reported) {
            if (event === 'playing' || event === 'loaded') {
                return;
            }
            if (!facts.played && !(facts.wanted && event !== 'pause')) {
                return;  // neither heard nor asked to play: the page's business
            }
            facts.reported = true;
            if (facts.played && await send(media, facts, 'playing') === null) {
                return;
            }
        }
        const delay = await send(media, facts, event, idle);
        if (delay === null) {
            return;
        }
        cancel(facts.timer);
        facts.timer = 0;
        if (typeof delay === 'number' && delay >= 0) {
            facts.resuming = false;
            stopQuietly(media, facts);
            facts.timer = later(() => restart(media, facts), delay);
        } else if (event === 'loaded' && facts.resuming) {
            facts.resuming = false;
            start(media);
        }
    }

    // An element that should be playing and whose position has not moved for a while: a
    // connection that hangs without closing sends neither an end nor an error.
    function checkProgress() {
        const time = now();
        for (const [media, facts] of watched) {
            if ((media.paused && !facts.resuming) || media.ended || facts.timer ||
                !(facts.played || facts.wanted)) {
                facts.position = -1;
            } else if (media.currentTime !== facts.position) {
                facts.position = media.currentTime;
                facts.still = time;
                facts.told = 0;
            } else if (time - facts.still >= Math.max(kStillMs, 2 * facts.told)) {
                facts.told = time - facts.still;  // told again only as it doubles
                report(media, facts, 'stalled', facts.told);
            }
        }
    }

    function handle(type, media) {
        let facts = watched.get(media);
        switch (type) {
            case 'play':
                facts = facts || factsOf(media);
                if (facts) {
                    facts.wanted = true;
                }
                break;
            case 'playing':
                facts = facts || factsOf(media);
                if (facts) {
                    facts.wanted = facts.played = true;
                    facts.live = live(media);  // a playlist that ends gets a length
                    facts.position = -1;
                    report(media, facts, 'playing');
                }
                break;
            case 'pause':
                // The end of a stream pauses the element too, with ended set; and a pause
                // that arrives after the element was started again (a restart's load) is
                // old news.
                if (facts && facts.quiet) {
                    facts.quiet = false;
                } else if (facts && media.paused && !media.ended) {
                    facts.wanted = false;
                    report(media, facts, 'pause');
                }
                break;
            case 'ended':
            case 'error':
                if (!facts && media.autoplay) {
                    facts = factsOf(media);  // an autoplay that never could
                    if (facts) {
                        facts.wanted = true;
                    }
                }
                if (facts) {
                    report(media, facts, type);
                }
                break;
            case 'loadedmetadata':
                if (facts && facts.reported) {
                    report(media, facts, 'loaded');
                }
                break;
        }
    }

    const types = ['play', 'playing', 'pause', 'ended', 'error', 'loadedmetadata'];
    if (pageWorld) {
        // Media outside any document: watched from the moment the page plays it. Once in a
        // document, the program's own world sees it instead.
        const listened = new WeakSet();
        proto.play = function() {
            if (this instanceof HTMLMediaElement && !listened.has(this)) {
                listened.add(this);
                for (const type of types) {
                    listen.call(this, type, () => this.isConnected || handle(type, this));
                }
            }
            return play.apply(this, arguments);
        };
        return;
    }
    // Media events do not bubble, but they pass the window on their way down.
    for (const type of types) {
        listen.call(window, type, (e) => {
            const target = e.target;
            // The errors of an element's <source> children go to them; it has failed only
            // when the last of them has.
            const source = target instanceof HTMLSourceElement;
            const media = source ? target.parentElement : target;
            if (media instanceof HTMLMediaElement &&
                (!source || media.networkState === HTMLMediaElement.NETWORK_NO_SOURCE)) {
                handle(type, media);
            }
        }, true);
    }
})
