// The program's script in the station page, one source for both builds, in ES5 so that
// Internet Explorer 11's engine runs it as well as WebKit's. It is called with the settings
// the program hands it (PageProtocol): its transport, its part, the protocol's names and
// limits, and the listener's state (paused, volume, mute).
//
// It reports what the page's media elements do; the program answers each report with a
// delay after which an element whose stream went away, never came or hangs is started
// again from its own source (stopped meanwhile, so no player animates a loading state for
// minutes), or -1 to leave it. Only an element that was heard, or asked to play and never
// could, is reported, and a healthy one not at all: the first report costs the program a
// script engine of its own, which a station that plays on undisturbed does not need.
//
// Parts: on Linux it runs twice in every frame, in a script world of the program's own
// ("documents": the elements in the page's documents, which the page's scripts cannot
// reach it through) and in the page's world ("detached": media played without being put
// in a document, the volume the page sets, what the page declares it plays). Windows'
// control has one world: there it is "all".
//
// A drop that the program will bring back is kept from the page's player library: a
// library that saw its element end holds its sound as stopped, and its own pause button
// would then no longer reach the element.
(function (settings) {
    var protocol = settings.protocol;
    var part = settings.part;
    // A message is one string: its kind, then its fields in the protocol's order.
    var separator = protocol.separator;
    var watchesDocuments = part !== 'detached';
    var watchesDetached = part !== 'documents';
    var send;

    if (settings.transport === 'webkit') {
        var handlers = window.webkit && window.webkit.messageHandlers;
        var channel = handlers && handlers[settings.channel];
        if (!channel) {
            return;
        }
        var post = channel.postMessage.bind(channel);
        send = function (message, done) {
            var answer;
            try {
                answer = post(message.join(separator));
            } catch (e) {
                done(null);
                return;
            }
            if (answer && typeof answer.then === 'function') {
                answer.then(done, function () { done(null); });
            } else {
                done(null);
            }
        };
    } else {
        var external = window.external;
        var method = settings.channel;
        send = function (message, done) {
            var answer = null;
            try {
                answer = external[method](message.join(separator));
            } catch (e) {
                answer = null;
            }
            done(answer === undefined ? null : answer);
        };
    }

    // What the page could replace later, taken before its scripts run.
    var proto = HTMLMediaElement.prototype;
    var load = proto.load;
    var play = proto.play;
    var pause = proto.pause;
    var listen = proto.addEventListener;
    // The window's own: Internet Explorer will not call an element's on the window.
    var listenWindow = window.addEventListener;
    var volumeProperty = Object.getOwnPropertyDescriptor(proto, 'volume');
    var later = window.setTimeout;
    var cancel = window.clearTimeout;
    var every = window.setInterval;
    var clock = window.performance;
    var query = document.querySelectorAll;
    var parse = JSON.parse;
    var frame = Math.random().toString(36).slice(2);
    var limits = settings.limits;
    var events = protocol.events;
    var state = settings.state;
    var watched = [];  // what is known of each element: {media, name, wanted, played, ...}
    var count = 0;
    var checking = false;
    var redispatching = false;

    function now() {
        return clock.now();
    }

    function find(media) {
        for (var i = 0; i < watched.length; ++i) {
            if (watched[i].media === media) {
                return watched[i];
            }
        }
        return null;
    }

    function factsOf(media) {
        var facts = find(media);
        if (facts === null && watched.length < limits.mostElements) {
            facts = {
                media: media,
                name: frame + ':' + (++count),
                wanted: false,
                played: false,
                reported: false,
                live: true,
                quiet: false,
                resuming: false,
                held: '',
                timer: 0,
                position: -1,
                still: 0,
                told: 0,
                parked: null,
                pageVolume: 1
            };
            watched.push(facts);
            if (!checking && mine(media)) {
                checking = true;
                every.call(window, checkProgress, limits.checkMs);
            }
        }
        return facts;
    }

    function inDocument(media) {
        var root = media.ownerDocument && media.ownerDocument.documentElement;
        return !!root && (root === media || root.contains(media));
    }

    function mine(media) {
        return inDocument(media) ? watchesDocuments : watchesDetached;
    }

    // Fed by the page's player library through Media Source Extensions.
    function library(media) {
        return (media.srcObject !== undefined && media.srcObject !== null) ||
            String(media.currentSrc).indexOf('blob:') === 0;
    }

    // A live stream has no length: WebKit gives it none (Infinity), or 0 for live HLS.
    function live(media) {
        return !(isFinite(media.duration) && media.duration > 0);
    }

    function start(media) {
        var started = play.call(media);
        if (started && typeof started.then === 'function') {
            started.then(null, function () {});  // a failure arrives as an error event
        }
    }

    function stopQuietly(media, facts) {
        if (!media.paused) {
            facts.quiet = true;  // the program's pause, not the listener's
            pause.call(media);
        }
    }

    // The same source again (src, or the <source> children), played once the program has
    // seen what it is: an element asked to play before the station answers would sit
    // "playing, waiting". An element that preloads nothing loads only when played.
    function restart(facts) {
        var media = facts.media;
        facts.timer = 0;
        facts.position = -1;
        facts.resuming = media.preload !== 'none';
        load.call(media);
        if (!facts.resuming) {
            start(media);
        }
    }

    function message(media, facts, event, idle) {
        var fields = protocol.media;
        var values = [];
        values[0] = fields.kind;
        values[fields.element] = facts.name;
        values[fields.event] = event;
        values[fields.live] = event === events.playing ? facts.live : live(media);
        values[fields.library] = library(media);
        values[fields.fresh] = !facts.played;
        values[fields.idle] = Math.round(idle || 0);
        return values;
    }

    // The page's library learns of a drop the program does not bring back after all.
    function release(facts) {
        var type = facts.held;
        facts.held = '';
        if (type) {
            var event = document.createEvent('Event');
            event.initEvent(type, false, false);
            redispatching = true;
            try {
                facts.media.dispatchEvent(event);
            } finally {
                redispatching = false;
            }
        }
    }

    function answered(facts, event, delay) {
        var media = facts.media;
        cancel.call(window, facts.timer);
        facts.timer = 0;
        if (typeof delay === 'number' && delay >= 0 && !state.paused) {
            facts.resuming = false;
            stopQuietly(media, facts);
            facts.timer = later.call(window, function () { restart(facts); }, delay);
        } else {
            if (event === events.loaded && facts.resuming) {
                facts.resuming = false;
                start(media);
            }
            if ((delay === null || delay < 0) && (event === events.ended || event === events.error)) {
                release(facts);  // the program leaves it: the page's library is told
            }
        }
    }

    function report(media, facts, event, idle) {
        if (!facts.reported) {
            if (event === events.playing || event === events.loaded) {
                return;
            }
            if (!facts.played && !(facts.wanted && event !== events.pause)) {
                release(facts);
                return;  // neither heard nor asked to play: the page's business
            }
            facts.reported = true;
            if (facts.played) {
                send(message(media, facts, events.playing), function (answer) {
                    if (answer === null) {
                        release(facts);
                    } else {
                        send(message(media, facts, event, idle), function (delay) {
                            answered(facts, event, delay);
                        });
                    }
                });
                return;
            }
        }
        send(message(media, facts, event, idle), function (delay) {
            answered(facts, event, delay);
        });
    }

    // An element that should be playing and whose position has not moved for a while: a
    // connection that hangs without closing sends neither an end nor an error.
    function checkProgress() {
        var time = now();
        for (var i = 0; i < watched.length; ++i) {
            var facts = watched[i];
            var media = facts.media;
            if ((media.paused && !facts.resuming) || media.ended || facts.timer ||
                !(facts.played || facts.wanted) || !mine(media)) {
                facts.position = -1;
            } else if (media.currentTime !== facts.position) {
                facts.position = media.currentTime;
                facts.still = time;
                facts.told = 0;
            } else if (time - facts.still >= Math.max(limits.stillMs, 2 * facts.told)) {
                facts.told = time - facts.still;  // told again only as it doubles
                report(media, facts, events.stalled, facts.told);
            }
        }
    }

    // The page's volume times the listener's: the page's own slider keeps its meaning.
    function applyVolume(media) {
        var facts = factsOf(media);
        if (facts && volumeProperty) {
            var level = state.muted ? 0 : facts.pageVolume * state.volume;
            volumeProperty.set.call(media, Math.max(0, Math.min(1, level)));
        }
    }

    function handle(type, media) {
        var facts = find(media);
        if (type === 'play' || type === 'playing') {
            facts = facts || factsOf(media);
            if (!facts) {
                return;
            }
            facts.wanted = true;
            if (watchesDetached) {
                applyVolume(media);
            }
            if (type === 'playing') {
                facts.played = true;
                facts.held = '';
                facts.live = live(media);  // a playlist that ends gets a length
                facts.position = -1;
                if (state.paused && !facts.resuming) {
                    stopQuietly(media, facts);  // the listener paused the radio
                    return;
                }
                report(media, facts, events.playing);
            }
        } else if (type === 'pause') {
            // The end of a stream pauses the element too, with ended set; and a pause that
            // arrives after the element was started again is old news.
            if (facts && facts.quiet) {
                facts.quiet = false;
            } else if (facts && media.paused && !media.ended) {
                facts.wanted = false;
                report(media, facts, events.pause);
            }
        } else if (type === 'ended' || type === 'error') {
            if (!facts && media.autoplay) {
                facts = factsOf(media);  // an autoplay that never could
                if (facts) {
                    facts.wanted = true;
                }
            }
            if (facts) {
                report(media, facts, type === 'ended' ? events.ended : events.error);
            }
        } else if (type === 'loadedmetadata') {
            if (facts && facts.reported) {
                report(media, facts, events.loaded);
            }
        }
    }

    // Whether the page's own listeners are to be kept from this event for now: the end or
    // failure of a live stream the listener wants, which the program will bring back.
    function hold(type, media) {
        if ((type !== 'ended' && type !== 'error') || redispatching) {
            return false;
        }
        var facts = find(media);
        if (!facts || !facts.played || !facts.wanted || !facts.live || library(media)) {
            return false;
        }
        facts.held = type;
        return true;
    }

    var types = ['play', 'playing', 'pause', 'ended', 'error', 'loadedmetadata'];

    function watch(media) {
        if (media.zaviWatched === frame) {
            return;
        }
        media.zaviWatched = frame;
        for (var i = 0; i < types.length; ++i) {
            (function (type) {
                listen.call(media, type, function (event) {
                    if (inDocument(media)) {
                        return;  // the documents' watch has it
                    }
                    handle(type, media);
                    if (hold(type, media)) {
                        event.stopImmediatePropagation();
                    }
                }, false);
            })(types[i]);
        }
    }

    // The elements this part acts on: those in this frame's document, those played outside
    // it, or both.
    function elements() {
        var found = [];
        var i;
        if (watchesDocuments) {
            var inPage = query.call(document, 'audio, video');
            for (i = 0; i < inPage.length; ++i) {
                found.push(inPage[i]);
            }
        }
        if (watchesDetached) {
            for (i = 0; i < watched.length; ++i) {
                if (!inDocument(watched[i].media)) {
                    found.push(watched[i].media);
                }
            }
        }
        return found;
    }

    // The listener's pause stops the stream's download too (a live radio paused for an
    // hour must not keep taking the listener's data): its source is let go, and taken
    // again, at the live edge, on play.
    // The element without its source, so that nothing loads, and as it was again.
    function park(media, facts) {
        var sources = [];
        for (var child = media.firstChild; child; child = child.nextSibling) {
            if (child instanceof HTMLSourceElement) {
                sources.push(child);
            }
        }
        facts.parked = {src: media.getAttribute('src'), sources: sources};
        for (var i = 0; i < sources.length; ++i) {
            media.removeChild(sources[i]);
        }
        media.removeAttribute('src');
        load.call(media);  // ends the download
        pause.call(media);  // and tells the desktop's media controls that it is paused
    }

    function unpark(media, facts) {
        var parked = facts.parked;
        if (!parked) {
            return;
        }
        facts.parked = null;
        for (var i = 0; i < parked.sources.length; ++i) {
            media.appendChild(parked.sources[i]);
        }
        if (parked.src !== null) {
            media.setAttribute('src', parked.src);
        }
    }

    function parkLater(media, facts) {
        return function () {
            facts.timer = 0;
            if (state.paused && !facts.parked) {
                park(media, facts);
            }
        };
    }

    function pauseAll() {
        var all = elements();
        for (var i = 0; i < all.length; ++i) {
            var media = all[i];
            var facts = factsOf(media);
            if (!facts) {
                continue;
            }
            cancel.call(window, facts.timer);
            facts.timer = 0;
            facts.resuming = false;
            if (!media.paused || facts.wanted) {
                facts.wanted = true;  // to be played again
                stopQuietly(media, facts);
                if (live(media) && !library(media) && !facts.parked) {
                    // A moment later: the desktop's media controls first see it paused.
                    facts.timer = later.call(window, parkLater(media, facts), 1000);
                }
            }
        }
    }

    function playAll() {
        var all = elements();
        for (var i = 0; i < all.length; ++i) {
            var media = all[i];
            var facts = find(media);
            if (!facts || !(facts.wanted || facts.played)) {
                continue;  // never asked to play: the page's business
            }
            cancel.call(window, facts.timer);
            facts.timer = 0;
            facts.wanted = true;
            unpark(media, facts);
            if (media.ended || media.error || (live(media) && !library(media))) {
                facts.resuming = false;
                load.call(media);  // the live edge, not where it was paused
            }
            start(media);
        }
    }

    function apply(next) {
        var was = state;
        state = next;
        if (watchesDetached) {
            for (var i = 0; i < watched.length; ++i) {
                applyVolume(watched[i].media);
            }
            if (!watchesDocuments) {
                var inPage = query.call(document, 'audio, video');
                for (i = 0; i < inPage.length; ++i) {
                    applyVolume(inPage[i]);
                }
            }
        }
        if (next.paused && !was.paused) {
            pauseAll();
        } else if (!next.paused && (was.paused || next.resume)) {
            playAll();
        }
    }

    // The program's word reaches the top frame's parts; each passes it to its frames.
    function relay(text) {
        var frames = window.frames;
        for (var i = 0; i < frames.length; ++i) {
            try {
                frames[i].postMessage(settings.token + text, '*');
            } catch (e) {
            }
        }
    }

    function command(text) {
        apply(parse(text));
        relay(text);
    }

    try {
        Object.defineProperty(window, settings.command, {value: command});
    } catch (e) {
        window[settings.command] = command;
    }
    listenWindow.call(window, 'message', function (event) {
        var data = event.data;
        if (typeof data === 'string' && data.indexOf(settings.token) === 0) {
            command(data.slice(settings.token.length));
        }
    }, false);

    // What the page says it plays (its media session), from whichever frame says it.
    function text(value) {
        return value ? String(value).split(separator).join(' ') : '';
    }

    function reportTitle(metadata) {
        var fields = protocol.title;
        var values = [];
        values[0] = fields.kind;
        values[fields.title] = text(metadata && metadata.title);
        values[fields.artist] = text(metadata && metadata.artist);
        send(values, function () {});
    }

    if (watchesDetached) {
        // The page's volume is kept as the page's; the element gets it times the listener's.
        if (volumeProperty && volumeProperty.configurable) {
            Object.defineProperty(proto, 'volume', {
                configurable: true,
                enumerable: volumeProperty.enumerable,
                get: function () {
                    var facts = find(this);
                    return facts ? facts.pageVolume : volumeProperty.get.call(this);
                },
                set: function (value) {
                    var facts = factsOf(this);
                    if (!facts) {
                        volumeProperty.set.call(this, value);
                        return;
                    }
                    if (!(value >= 0 && value <= 1)) {
                        volumeProperty.set.call(this, value);  // the engine's own error
                    }
                    facts.pageVolume = value;
                    applyVolume(this);
                }
            });
        }
        // Media outside any document is watched from the moment the page plays it; its
        // events are taken before the page's listeners, from its making.
        proto.play = function () {
            if (this instanceof HTMLMediaElement) {
                watch(this);
                handle('play', this);
            }
            return play.apply(this, arguments);
        };
        var NativeAudio = window.Audio;
        if (NativeAudio) {
            var Audio = function (source) {
                var media = arguments.length ? new NativeAudio(source) : new NativeAudio();
                watch(media);
                return media;
            };
            Audio.prototype = NativeAudio.prototype;
            window.Audio = Audio;
        }
        var documentProto = (window.Document || window.HTMLDocument).prototype;
        var create = documentProto.createElement;
        documentProto.createElement = function () {
            var made = create.apply(this, arguments);
            if (made instanceof HTMLMediaElement) {
                watch(made);
            }
            return made;
        };
        var session = window.MediaSession && window.MediaSession.prototype;
        var metadata = session && Object.getOwnPropertyDescriptor(session, 'metadata');
        if (metadata && metadata.set && metadata.configurable) {
            Object.defineProperty(session, 'metadata', {
                configurable: true,
                enumerable: metadata.enumerable,
                get: metadata.get,
                set: function (value) {
                    metadata.set.call(this, value);
                    reportTitle(value);
                }
            });
        }
    }

    // Media events do not bubble, but they pass the window on their way down: the page's
    // documents are watched there, and a drop held from the page's listeners on the
    // element by stopping it on its way.
    for (var t = 0; t < types.length; ++t) {
        (function (type) {
            listenWindow.call(window, type, function (event) {
                var target = event.target;
                // The errors of an element's <source> children go to them; it has failed
                // only when the last of them has.
                var source = target instanceof HTMLSourceElement;
                var media = source ? target.parentNode : target;
                if (!(media instanceof HTMLMediaElement) ||
                    (source && media.networkState !== HTMLMediaElement.NETWORK_NO_SOURCE)) {
                    return;
                }
                if (watchesDocuments) {
                    handle(type, media);
                } else if (type === 'play' || type === 'playing') {
                    var facts = factsOf(media);
                    if (facts) {
                        facts.wanted = true;
                        facts.played = facts.played || type === 'playing';
                        facts.live = live(media);
                        applyVolume(media);
                    }
                }
                if (watchesDocuments && watchesDetached && hold(type, media)) {
                    event.stopPropagation();
                }
            }, true);
        })(types[t]);
    }
})
