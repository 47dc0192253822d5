// The page script must run in Internet Explorer 11's engine: it is parsed as ES5 (no arrow
// functions, let/const, classes or template strings), and none of the later built-ins IE 11
// lacks may be named (promises only as a value another engine hands back).
//   node page_script_es5.js platform/PageScript.js
'use strict';
const fs = require('fs');
const acorn = require('/usr/share/nodejs/acorn');
const walk = require('/usr/share/nodejs/acorn-walk');

const source = fs.readFileSync(process.argv[2], 'utf8');
const problems = [];
let tree;
try {
    tree = acorn.parse(source, {ecmaVersion: 5, locations: true});
} catch (error) {
    console.log(`not ES5: ${error.message}`);
    process.exit(1);
}
const laterGlobals = new Set(['Promise', 'Symbol', 'Proxy', 'Reflect', 'WeakSet', 'Map', 'Set']);
const laterMembers = new Set(['startsWith', 'endsWith', 'includes', 'find', 'findIndex', 'from',
    'assign', 'isFinite', 'isNaN', 'isConnected', 'repeat', 'padStart', 'fill', 'entries',
    'values', 'keys', 'trunc', 'sign']);
walk.simple(tree, {
    Identifier(node) {
        if (laterGlobals.has(node.name)) {
            problems.push(`${node.loc.start.line}: ${node.name}`);
        }
    },
    MemberExpression(node) {
        const name = node.computed ? null : node.property.name;
        // Number.isFinite is ES2015; the global isFinite is not a member.
        if (name && laterMembers.has(name)) {
            problems.push(`${node.loc.start.line}: .${name}`);
        }
    },
});
if (problems.length) {
    console.log(`names IE 11 lacks:\n${problems.join('\n')}`);
    process.exit(1);
}
console.log('ES5, and no built-in IE 11 lacks');
