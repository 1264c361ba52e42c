// The archive page in WebKitGTK's MiniBrowser (WebDriver classic), from
// disk and over HTTP.
import { defineScenarios } from './support/scenarios.mjs';

defineScenarios('webkit');
