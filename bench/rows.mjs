// The rows the web edition's benches print, in the columns of
// bench/run-bench.sh's.
export const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

// A CJK letter takes two columns.
export const row = (label, value, unit, met, limit) => {
    const width = [...label].reduce((n, c) => n + (c.codePointAt(0) >= 0x2e80 ? 2 : 1), 0);
    const line = `${label}${" ".repeat(Math.max(0, 44 - width))} ${value.padStart(8)} ${unit.padEnd(2)}`;
    console.log(`${line}  ${met.padEnd(6)}  ${limit}`.trimEnd());
};

export const count = (name, fallback) => {
    const n = Number(process.env[name] ?? fallback);
    if (!Number.isInteger(n) || n < 1) throw new Error(`${name} is not a whole number above 0`);
    return n;
};
