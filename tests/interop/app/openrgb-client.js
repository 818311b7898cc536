// A lighting program on the OpenRGB SDK, through the openrgb-sdk package: it lists the
// controllers (also at protocol version 3), takes the keyboard's lights in "Direct" mode, gives
// every key and every ear-cup LED its own colour and the mouse and the pad one colour each, names a segment of the
// ear cups and clears it, switches the mouse to another of its own modes, and lets go when the
// test writes a line to its input. Each step is a line on stdout.
const { Client } = require("openrgb-sdk");

const port = Number(process.argv[2]);

// The test's lines, one at a time; the end of the input says "bye".
const lines = [];
let pending = "";
let wake = null;
function woken() {
    if (wake) {
        wake();
        wake = null;
    }
}
process.stdin.setEncoding("utf8");
process.stdin.on("data", (chunk) => {
    pending += chunk;
    for (let end; (end = pending.indexOf("\n")) >= 0; pending = pending.slice(end + 1)) {
        lines.push(pending.slice(0, end));
    }
    woken();
});
process.stdin.on("end", () => {
    lines.push("bye");
    woken();
});
async function nextLine() {
    while (lines.length == 0) {
        await new Promise((resolve) => (wake = resolve));
    }
    return lines.shift();
}

function summary(devices) {
    return devices.map((d) => ({
        name: d.name, type: d.type, activeMode: d.activeMode,
        modes: d.modes.map((m) => ({ name: m.name, value: m.value })),
        zones: d.zones.map((z) => ({ name: z.name, type: z.type, leds: z.ledsCount,
                                     matrix: z.matrix ? [z.matrix.height, z.matrix.width] : null })),
        leds: d.leds.length,
    }));
}

async function main() {
    const older = new Client("q407 interop v3", port, "127.0.0.1", { forceProtocolVersion: 3 });
    await older.connect();
    console.log("protocol3 " + older.protocolVersion + " " + JSON.stringify(summary(await older.getAllControllerData())));
    older.disconnect();

    const client = new Client("q407 interop", port, "127.0.0.1");
    await client.connect();
    const devices = await client.getAllControllerData();
    console.log("protocol " + client.protocolVersion + " " + JSON.stringify(summary(devices)));

    const keyboard = devices.find((d) => d.type == 5);
    const mouse = devices.find((d) => d.type == 6);
    await client.updateMode(keyboard.deviceId, "Direct");
    const colours = keyboard.leds.map((_, i) => ({ red: (i * 7) % 256, green: 255 - i, blue: 42 }));
    client.updateLeds(keyboard.deviceId, colours);
    client.updateLeds(mouse.deviceId, [{ red: 12, green: 34, blue: 56 }]);
    const pad = devices.find((d) => d.type == 7);
    client.updateLeds(pad.deviceId, [{ red: 78, green: 90, blue: 12 }]);
    const headset = devices.find((d) => d.type == 8);
    client.updateLeds(headset.deviceId, headset.leds.map((_, i) => ({ red: 10 * i, green: 5, blue: 200 - i })));
    // A round trip makes sure the server has read everything before the test looks.
    await client.getControllerCount();
    console.log("direct sent");

    // Segments of the ear cups (protocol 5): one that fits, one past the last LED, then none.
    const cups = (d) => ({ flags: d.flags, altNames: d.alternateLEDsNames.length, zoneFlags: d.zones[0].flags,
                           segments: d.zones[0].segments });
    client.addSegment(headset.deviceId, 0, "Left cup", 1, 2, 5);
    client.addSegment(headset.deviceId, 0, "Past the end", 1, 10, 5);
    console.log("segments " + JSON.stringify(cups(await client.getControllerData(headset.deviceId))));
    client.clearSegments(headset.deviceId, 0);
    console.log("cleared " + JSON.stringify(cups(await client.getControllerData(headset.deviceId))));

    for (;;) {
        const line = await nextLine();
        if (line == "mouse-mode") {
            const native = mouse.modes.findIndex((m, i) => i > 0 && i != mouse.activeMode);
            await client.updateMode(mouse.deviceId, native);
            await client.getControllerCount();
            console.log("mouse-mode " + mouse.modes[native].value);
        } else if (line == "bye") {
            break;
        }
    }
    client.disconnect();
    process.stdin.destroy();
    console.log("bye");
}

main().catch((error) => {
    console.log("error " + error);
    process.exit(1);
});
