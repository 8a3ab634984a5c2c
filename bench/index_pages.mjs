// SPDX-FileCopyrightText: 2026 The Vignetta developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The index benchmark's measuring half: opens each page in a headless Chromium that is already
// running (a tab of its own each time, driven over the DevTools protocol on a pipe) and notes
// the first paint and the load event as the page's own performance entries give them, and the
// browser's memory once it has loaded: all its processes' proportional set sizes added up, and
// the part of that the page added. Prints one Markdown table row per page: medians of the runs.
//   node bench/index_pages.mjs DIR RUNS COUNT PAGE LABEL [PAGE LABEL ...]
import { spawn } from "node:child_process";
import { readFileSync, readdirSync } from "node:fs";
import { pathToFileURL } from "node:url";

const [dir, runs, count, ...pages] = process.argv.slice(2);
const chrome = spawn("/usr/bin/chromium", [
  "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync",
  `--user-data-dir=${dir}/profile`, "--remote-debugging-pipe", "--window-size=1280,800",
  "about:blank"], { stdio: ["ignore", "ignore", "ignore", "pipe", "pipe"] });
const toBrowser = chrome.stdio[3];
let last = 0, text = "";
const waiting = new Map(), listeners = new Set();
chrome.stdio[4].on("data", (chunk) => {
  text += chunk.toString();
  for (let end = text.indexOf("\0"); end >= 0; end = text.indexOf("\0")) {
    const message = JSON.parse(text.slice(0, end));
    text = text.slice(end + 1);
    if (waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error) reject(new Error(message.error.message)); else resolve(message.result);
    } else {
      for (const listener of listeners) listener(message);
    }
  }
});
function send(method, params = {}, sessionId = undefined) {
  const message = { id: ++last, method, params, sessionId };
  toBrowser.write(JSON.stringify(message) + "\0");
  return new Promise((resolve, reject) => waiting.set(message.id, { resolve, reject }));
}
function event(method, sessionId) {
  return new Promise((resolve) => {
    const listener = (message) => {
      if (message.method === method && message.sessionId === sessionId) {
        listeners.delete(listener);
        resolve(message.params);
      }
    };
    listeners.add(listener);
  });
}

// The browser's processes, and their memory in MiB.
function processes() {
  const children = new Map();
  for (const entry of readdirSync("/proc")) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = readFileSync(`/proc/${entry}/stat`, "utf8");
      const parent = Number(stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(entry));
    } catch { /* gone meanwhile */ }
  }
  const all = [], stack = [chrome.pid];
  while (stack.length) {
    const pid = stack.pop();
    all.push(pid);
    stack.push(...(children.get(pid) || []));
  }
  return all;
}
function memory() {
  let kib = 0;
  for (const pid of processes()) {
    try {
      const match = readFileSync(`/proc/${pid}/smaps_rollup`, "utf8").match(/^Pss:\s+(\d+) kB/m);
      if (match) kib += Number(match[1]);
    } catch { /* gone meanwhile */ }
  }
  return kib / 1024;
}

async function open(url) {
  const { targetId } = await send("Target.createTarget", { url: "about:blank" });
  const { sessionId } = await send("Target.attachToTarget", { targetId, flatten: true });
  await send("Page.enable", {}, sessionId);
  await new Promise((resolve) => setTimeout(resolve, 200));
  const before = memory();
  const loaded = event("Page.loadEventFired", sessionId);
  await send("Page.navigate", { url }, sessionId);
  await loaded;
  await new Promise((resolve) => setTimeout(resolve, 500)); // what the load set going settles
  const { result } = await send("Runtime.evaluate", {
    returnByValue: true,
    expression: `(() => {
      const n = performance.getEntriesByType("navigation")[0];
      const p = performance.getEntriesByName("first-contentful-paint")[0];
      return { load: n.loadEventStart, paint: p ? p.startTime : -1 };
    })()` }, sessionId);
  const after = memory();
  await send("Target.closeTarget", { targetId });
  return { ...result.value, memory: after, added: after - before };
}

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
try {
  await open(pathToFileURL(`${dir}/${pages[0]}`).href); // the browser warmed up
  for (let i = 0; i < pages.length; i += 2) {
    const seen = [];
    for (let r = 0; r < Number(runs); ++r)
      seen.push(await open(pathToFileURL(`${dir}/${pages[i]}`).href));
    const m = (key) => median(seen.map((s) => s[key])).toFixed(0);
    console.log(`| ${count} | ${pages[i + 1]} | ${m("paint")} | ${m("load")} | ${m("added")} | ${m("memory")} |`);
  }
} finally {
  chrome.kill();
}
