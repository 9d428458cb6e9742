// WCAG 2.2 AA and axe-core's best practices, on a page as it is now; shared by
// the page's and the site's tests.
import assert from "node:assert/strict";
import fs from "node:fs";

const AXE = fs.readFileSync(new URL("../node_modules/axe-core/axe.min.js", import.meta.url), "utf8");

export async function pristupacna(strana, stanje) {
  await strana.evaluate(AXE);
  const prekrsaji = await strana.evaluate(() => axe.run(document, {
    runOnly: { type: "tag", values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"] },
    rules: { "label-content-name-mismatch": { enabled: true } },  // experimental, so off by default
  }).then((r) => r.violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`)));
  assert.deepEqual(prekrsaji, [], `axe-core's violations on ${stanje}`);
}
